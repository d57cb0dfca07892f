#!/usr/bin/env bash
# The fence script must refuse a widget include in operations code, SQL in a screen and an
# unformatted source, and pass a tree that keeps the rules.
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
CHECK="$HERE/../../scripts/check-fences"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$HERE/../../.clang-format" "$work/"

tree() { # tree NAME: a clean copy of the fixture
  rm -rf "$work/$1"; mkdir -p "$work/$1/lots/ui" "$work/$1/core"
  cp "$HERE/../../.clang-format" "$work/$1/"
  printf '#include "lotstore.h"\n\n#include <QSqlQuery>\n#include <QString>\n\nint answer() { return 42; }\n' >"$work/$1/lots/lotstore.cpp"
  printf '#include <QTableView>\n\nint shown() { return 1; }\n' >"$work/$1/lots/ui/lotlisttab.cpp"
  printf '#include <QSqlDatabase>\n\nint opened() { return 1; }\n' >"$work/$1/core/database.cpp"
  (cd "$work/$1" && clang-format -i lots/lotstore.cpp lots/ui/lotlisttab.cpp core/database.cpp)
}
expect() { # expect 0|1 NAME what [text the refusal must hold]
  "$CHECK" "$work/$2" >"$work/out" 2>&1
  local rc=$?
  if [ "$rc" -ne "$1" ]; then echo "FAIL: $3 (exit $rc)"; cat "$work/out"; exit 1; fi
  if [ -n "${4:-}" ] && ! grep -qF "$4" "$work/out"; then echo "FAIL: $3 (no \"$4\")"; cat "$work/out"; exit 1; fi
  echo "ok: $3"
}

tree clean
expect 0 clean "a tree that keeps the rules passes"

tree widget
sed -i 's/#include <QString>/#include <QString>\n#include <QTableView>/' "$work/widget/lots/lotstore.cpp"
expect 1 widget "a widget header in operations code fails" "lots/lotstore.cpp: operations code includes the widget header <QTableView>"

tree widget2
sed -i 's/#include <QSqlDatabase>/#include <QSqlDatabase>\n#include <QtWidgets\/QWidget>/' "$work/widget2/core/database.cpp"
expect 1 widget2 "a QtWidgets/ header in core fails" "<QtWidgets/QWidget>"

tree sql
printf '\nconst char *leak = "select * from coupe where n_lot = 1";\n' >>"$work/sql/lots/ui/lotlisttab.cpp"
expect 1 sql "a statement in a screen fails" "lots/ui/lotlisttab.cpp:8: SQL statement in a screen"

tree format
printf 'int   badly ( ) {return 0 ;}\n' >>"$work/format/lots/lotstore.cpp"
expect 1 format "an unformatted source fails" "lots/lotstore.cpp: not formatted"

tree system
printf '\n#include <unistd.h>\n' >>"$work/system/lots/lotstore.cpp"
expect 1 system "a system header outside the platform files fails" "lots/lotstore.cpp: system-specific code"

tree qos
printf '\n#ifdef Q_OS_WIN\nint windows() { return 1; }\n#endif\n' >>"$work/qos/core/database.cpp"
expect 1 qos "a Q_OS_ test outside the platform files fails" "core/database.cpp: system-specific code"

tree platform
printf '#include <windows.h>\n#ifdef _WIN32\nint serial()\n{\n    return 1;\n}\n#endif\n' >"$work/platform/core/platform_win.cpp"
printf '#include <sys/resource.h>\n#include <unistd.h>\n' >"$work/platform/core/platform_unix.cpp"
expect 0 platform "the platform files may test the system"

tree names
printf 'x\n' >"$work/names/core/Notes.txt"
printf 'x\n' >"$work/names/core/notes.txt"
expect 1 names "paths differing only by case fail" "differ only by case"

tree reserved
mkdir -p "$work/reserved/docs" && printf 'x\n' >"$work/reserved/docs/aux.md"
expect 1 reserved "a name Windows refuses fails" "docs/aux.md: a name Windows refuses"
