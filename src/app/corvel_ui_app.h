#pragma once
#include <QApplication>

#include "boxes/containers/corvel.h"

// The application object: holds the one parser facade of the process and runs the
// main window until it is closed.
class CCorvel_UIApp : public QApplication {
    Q_OBJECT
public:
    CCorvel_UIApp(int& argc, char** argv);
    // Shows the main window (opening `file` when given) and returns when it closes.
    int Run(const QString& file = QString());

private:
    CCorvelLib m_lib;
};
