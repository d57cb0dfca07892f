#include <windows.h>

#include <psapi.h>

// The Win32 half uses no Qt, so that it can be checked from Linux with a MinGW compiler:
//   x86_64-w64-mingw32-g++ -std=c++20 -fsyntax-only -DRAVELIN_WIN32_ONLY core/platform_win.cpp

namespace ravelin::win32 {

// Serial number of the volume "C:\", false when it cannot be read.
bool systemVolumeSerial(unsigned long *serial)
{
    DWORD value = 0;
    if (!GetVolumeInformationW(L"C:\\", nullptr, 0, &value, nullptr, nullptr, nullptr, 0)) return false;
    *serial = value;
    return true;
}

double peakMemoryMb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

} // namespace ravelin::win32

#ifndef RAVELIN_WIN32_ONLY

#include "platform.h"

#include <QGuiApplication>
#include <QtGui/private/qguiapplication_p.h>

namespace ravelin {

QString systemVolumeId()
{
    unsigned long serial = 0;
    if (!win32::systemVolumeSerial(&serial)) return QStringLiteral("IMPOSSIBLE");
    return QStringLiteral("%1").arg(quint32(serial), 8, 16, QLatin1Char('0')).toUpper();
}

void allowWindowActivation()
{
    using QNativeInterface::Private::QWindowsApplication;
    if (auto *app = qGuiApp ? qGuiApp->nativeInterface<QWindowsApplication>() : nullptr)
        app->setWindowActivationBehavior(QWindowsApplication::AlwaysActivateWindow);
}

double peakMemoryMb()
{
    return win32::peakMemoryMb();
}

} // namespace ravelin

#endif
