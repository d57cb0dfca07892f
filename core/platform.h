#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace ravelin {

// Everything that differs between Windows and the other systems is behind these functions, in
// platform_win.cpp and platform_unix.cpp; no other source tests the system it is built for
// (scripts/check-fences refuses it). The folders are in paths.h, written with Qt's portable calls.

// This workstation's identifier: the serial number of volume "C:\" as 8 upper-case hex digits on
// Windows, the first 8 hex digits of the machine id elsewhere; "IMPOSSIBLE" when none can be read.
QString systemVolumeId();

// Lets the program bring its own window to the front when a post-it arrives: Windows otherwise
// only flashes the task bar button. Call once the QGuiApplication exists; nothing to do elsewhere.
void allowWindowActivation();

// Opens a generated page or a file with the system's default handler. The program installs the
// desktop's opener at start-up; tests install one that records. Without one, nothing opens and
// false is returned.
using UrlOpener = std::function<bool(const QUrl &)>;
void setUrlOpener(UrlOpener opener);
bool openWithSystem(const QUrl &url);

// The most memory this process has held, in megabytes (0 when the system does not say).
double peakMemoryMb();

} // namespace ravelin
