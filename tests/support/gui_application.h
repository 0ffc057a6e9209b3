#pragma once
// Fonts, text layout and the platform integration need a QGuiApplication; the test
// executables use GoogleTest's own main, so suites that touch them call
// EnsureGuiApplication() first (in SetUpTestSuite or at the top of a test). Tests run
// with QT_QPA_PLATFORM=offscreen (set here when missing).

#include <QGuiApplication>

namespace velk::testing {

inline void EnsureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "velk_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit Qt's own global statics (the font database with any
    // application fonts) are gone before a static application's destructor would run.
    // Still reachable; what fontconfig keeps behind it is suppressed in .ci/lsan.supp.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

} // namespace velk::testing
