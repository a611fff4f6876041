#include "editor_window.h"

#include "fonts.h"

namespace tobric {

TForm4::TForm4()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Edit Tobric Program"));
    setFont(WindowFont());
    setFixedSize(427, 273);
}

}  // namespace tobric
