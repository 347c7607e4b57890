#include "app/Application.h"
#include "app/Form2.h"
#include "app/QtPlatform.h"

int main(int argc, char *argv[])
{
    mirthkey::Application app(argc, argv);
    mirthkey::installProgramFont();
    mirthkey::installTranslations(app);

    mirthkey::QtPlatform platform;
    app.setPlatform(&platform);

    mirthkey::Form2 window(platform);
    window.show();
    return app.exec();
}
