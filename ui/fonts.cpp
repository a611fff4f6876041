#include "fonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace tobric {
namespace {

// Debian's fonts-dseg puts the face here; loading it by file covers a font cache not yet updated.
constexpr const char* kCalculatorFontFile =
    "/usr/share/fonts/truetype/dseg/DSEG7Classic-Regular.ttf";
constexpr const char* kCalculatorFamily = "DSEG7 Classic";

}  // namespace

QFont WindowFont() {
    // The window's layout was drawn for a narrow 11 px face. Liberation Sans (Arial's widths),
    // set 5% tighter, ends every label of the register panel before its box ("Program Counter:"
    // and "Memory Data Register:" touch or overrun it at full width); the dialog font is the last
    // resort.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QStringList families = QFontDatabase::families();
    for (const char* narrow : {"Liberation Sans", "Arial", "Nimbus Sans"}) {
        if (families.contains(QLatin1String(narrow))) {
            font.setFamily(QLatin1String(narrow));
            break;
        }
    }
    font.setPixelSize(11);
    font.setLetterSpacing(QFont::PercentageSpacing, 95);
    return font;
}

QFont HeadingFont() {
    QFont font(QStringLiteral("Comic Neue"));
    font.setPixelSize(13);
    font.setBold(true);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont CalculatorFont() {
    if (!QFontDatabase::families().contains(QLatin1String(kCalculatorFamily)))
        QFontDatabase::addApplicationFont(QString::fromLatin1(kCalculatorFontFile));
    QFont font(QString::fromLatin1(kCalculatorFamily));
    font.setPixelSize(48);
    font.setStyleHint(QFont::Monospace);
    return font;
}

void UseWindowFontEverywhere() { QApplication::setFont(WindowFont()); }

}  // namespace tobric
