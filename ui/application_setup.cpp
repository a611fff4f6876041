// SPDX-License-Identifier: GPL-3.0-or-later
#include "application_setup.h"

#include <QApplication>

#include "fonts.h"
#include "tobric/version.h"

namespace tobric {

void SetUpApplication(QApplication& application) {
    application.setApplicationName(QString::fromLatin1(kApplicationTitle));
    application.setApplicationVersion(QString::fromLatin1(kVersion));
    application.setDesktopFileName(QStringLiteral("tobric"));
    QApplication::setFont(WindowFont());  // prompts and message boxes share it
}

}  // namespace tobric
