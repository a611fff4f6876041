// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_test_main.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "ui/application_setup.h"

namespace tobric_test {

int RunQtSuite(int argc, char** argv, const std::function<std::unique_ptr<QObject>()>& makeSuite) {
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QApplication application(argc, argv);
    tobric::SetUpApplication(application);
    const std::unique_ptr<QObject> suite = makeSuite();
    return QTest::qExec(suite.get(), argc, argv);
}

}  // namespace tobric_test
