// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"
#include "ClipboardKeeper.h"
#include "MainWindow.h"
#include "ProgramFont.h"
#include "QtPlatform.h"

int main(int argc, char *argv[])
{
    // The keeper is this same program; it must not build the program's application object.
    if (mirthkey::startedAsClipboardKeeper(argc, argv))
        return mirthkey::runClipboardKeeper(argc, argv);
    mirthkey::chooseTextRendering();
    mirthkey::chooseWindowSystem();
    // The platform outlives the application object, which reports errors through it.
    mirthkey::QtPlatform platform;
    mirthkey::Application app(argc, argv);
    mirthkey::leaveWindowSystemChoice();
    app.setPlatform(&platform);
    try {
        mirthkey::installProgramFont();
        mirthkey::installTranslations(app);
        mirthkey::MainWindow window(platform);
        window.show();
        const int status = mirthkey::Application::exec();
        mirthkey::keepClipboardAfterExit();
        return status;
    } catch (...) {
        // Start-up runs outside the event loop; its errors end the program the same way.
        mirthkey::reportUnhandledError(platform, std::current_exception());
        return EXIT_FAILURE;
    }
}
