#include <QLoggingCategory>
#include <QStringList>

#include "app/corvel_ui_app.h"

// tessaly [FILE]: the desktop inspector, opening FILE when given.
int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);  // before the application, for the web view
    CCorvel_UIApp app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));  // its start-up dump
    const QStringList args = QCoreApplication::arguments();
    return app.Run(args.size() > 1 ? args.at(1) : QString());
}
