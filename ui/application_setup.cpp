#include "application_setup.h"

#include <QApplication>

#include "error_report.h"
#include "fonts.h"

namespace tobric {

void SetUpApplication(QApplication& application) {
    application.setApplicationName(QString::fromLatin1(kApplicationTitle));
    application.setDesktopFileName(QStringLiteral("tobric"));
    UseWindowFontEverywhere();
}

}  // namespace tobric
