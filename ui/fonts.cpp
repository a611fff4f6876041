// SPDX-License-Identifier: GPL-3.0-or-later
#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace tobric {
namespace {

struct Families {
    QString window, heading, calculator;
};

// Registers a built-in face and answers its family as the font database reads it from the file.
QString AddFace(const char* resource) {
    const int id = QFontDatabase::addApplicationFont(QLatin1String(resource));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) qWarning("The built-in font %s did not load.", resource);
    return families.value(0);
}

// The faces built into the program (ui/CMakeLists.txt lists them), so the window looks the same
// whatever fonts the system has. Registered once, on first use: the font database needs the
// application object to exist.
const Families& BuiltInFamilies() {
    static const Families kFamilies = [] {
        AddFace(":/fonts/ComicNeue-Regular.otf");  // the about box's title: the heading, not bold
        return Families{AddFace(":/fonts/LiberationSans-Regular.ttf"),
                        AddFace(":/fonts/ComicNeue-Bold.otf"),
                        AddFace(":/fonts/DSEG7Classic-Regular.ttf")};
    }();
    return kFamilies;
}

}  // namespace

QFont WindowFont() {
    // The window's layout was drawn for a narrow 11 px face. Liberation Sans (Arial's widths),
    // set 5% tighter, ends every label of the register panel before its box ("Program Counter:"
    // and "Memory Data Register:" touch or overrun it at full width).
    QFont font(BuiltInFamilies().window);
    font.setPixelSize(11);
    font.setLetterSpacing(QFont::PercentageSpacing, 95);
    return font;
}

QFont HeadingFont() {
    QFont font(BuiltInFamilies().heading);
    font.setPixelSize(13);
    font.setBold(true);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont CalculatorFont() {
    QFont font(BuiltInFamilies().calculator);
    font.setPixelSize(48);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace tobric
