#include <QApplication>

#include "core/config_engine.h"
#include "core/qelrampara.h"

int main(int argc, char *argv[])
{
    ConfigEngine::pInstance();
    QelRamPara::pInstance();
    QApplication app(argc, argv);
    return app.exec();
}
