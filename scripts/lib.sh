# Shared by scripts/run, scripts/test and scripts/create-database. Sourced, not run.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${RAVELIN_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools libqt6sql6-mysql
  qt6-charts-dev qt6-svg-dev libqt6opengl6-dev libgl-dev
  mariadb-server mariadb-client
  poppler-utils libxml2-utils xvfb xauth clang-format
  libxlsxwriter-dev xlsx2csv unzip qt6-httpserver-dev qt6-websockets-dev desktop-file-utils
  libqpdf-dev
)

log() { printf '\033[1m== %s\033[0m\n' "$*" >&2; }

# Installs the Debian packages that are missing. Needs root (or sudo) the first time only.
ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  # The e-invoice rules' test runs in node (npm ci): Debian's nodejs and npm, unless a node with its
  # own npm is there already (Debian's npm cannot be installed beside such a node).
  command -v npm >/dev/null || missing+=(nodejs npm)
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing ${missing[*]}"
  local SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_all [cmake --build options...], e.g. build_all --target ravelin
build_all() {
  log "building in $BUILD_DIR"
  local gen=()
  if [ ! -f "$BUILD_DIR/CMakeCache.txt" ] && command -v ninja >/dev/null; then gen=(-G Ninja); fi
  cmake -S "$ROOT" -B "$BUILD_DIR" "${gen[@]}" -DCMAKE_BUILD_TYPE="${RAVELIN_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
  cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
}

# Private MariaDB server on a unix socket in DIR (no TCP). The data folder survives between runs.
#   start_server DIR   -> sets SOCKET; reuses a server already running on DIR
#   stop_server DIR
start_server() {
  local dir="$1"
  mkdir -p "$dir"
  dir="$(cd "$dir" && pwd)"
  SOCKET="$dir/mysqld.sock"
  if [ -S "$SOCKET" ] && mariadb-admin --no-defaults --socket="$SOCKET" -uroot ping >/dev/null 2>&1; then
    log "database server already running ($SOCKET)"
    return 0
  fi
  if [ ! -d "$dir/data/mysql" ]; then
    log "creating the database server's data folder in $dir/data"
    mariadb-install-db --no-defaults --datadir="$dir/data" --user="$(id -un)" \
      --auth-root-authentication-method=socket >"$dir/install.log" 2>&1
  fi
  log "starting the database server ($SOCKET)"
  local mariadbd_bin
  mariadbd_bin="$(command -v mariadbd || echo /usr/sbin/mariadbd)"
  "$mariadbd_bin" --no-defaults --datadir="$dir/data" --socket="$SOCKET" --skip-networking \
    --pid-file="$dir/mysqld.pid" --log-error="$dir/error.log" --user="$(id -un)" \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
    --innodb-buffer-pool-size=512M --innodb-flush-log-at-trx-commit=2 --max-connections=200 \
    ${RAVELIN_MARIADB_OPTIONS:-} >/dev/null 2>&1 &
  for _ in $(seq 1 60); do
    mariadb-admin --no-defaults --socket="$SOCKET" -uroot ping >/dev/null 2>&1 && break
    sleep 0.5
  done
  mariadb-admin --no-defaults --socket="$SOCKET" -uroot ping >/dev/null 2>&1 || {
    cat "$dir/error.log" >&2; echo "the database server did not start" >&2; return 1; }
  # The program's account: all rights, password "ravelin".
  mariadb --no-defaults --socket="$SOCKET" -uroot -e \
    "CREATE USER IF NOT EXISTS 'ravelin'@'localhost' IDENTIFIED BY 'ravelin';
     GRANT ALL PRIVILEGES ON *.* TO 'ravelin'@'localhost' WITH GRANT OPTION; FLUSH PRIVILEGES;"
}

stop_server() {
  local dir="$1"
  local pidfile="$dir/mysqld.pid"
  [ -f "$pidfile" ] || return 0
  local pid
  pid="$(cat "$pidfile")"
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 60); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.5; done
  kill -9 "$pid" 2>/dev/null || true
}

# Writes Serveur_config.INI beside the program for the private server.
write_config() {
  local folder="$1" socket="$2" database="$3"
  cat >"$folder/Serveur_config.INI" <<INI
[SERVEUR]
host=localhost
host_distant=localhost
database=$database
user=ravelin
password=ravelin
port=3306
socket=$socket
INI
}
