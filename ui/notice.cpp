// SPDX-License-Identifier: GPL-3.0-or-later
#include "notice.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QSet>
#include <QStyle>

#include "text_codec.h"

namespace tobric {
namespace {

// The place among the open notices: 0 for the first, 1 for one a step further, and so on.
constexpr const char* kNoticePlace = "tobricNoticePlace";

// Notices open where the platform puts them, which is the same place for the same text: a notice
// opened while others are still open goes one title bar's height down and to the right of the
// nearest free place, so that the user sees there are several.
void StepAwayFromOpenNotices(QMessageBox& box) {
    QSet<int> taken;
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window != &box && window->isVisible() && window->property(kNoticePlace).isValid())
            taken.insert(window->property(kNoticePlace).toInt());
    int place = 0;
    while (taken.contains(place)) ++place;
    box.setProperty(kNoticePlace, place);
    if (place == 0) return;
    const int step = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    box.move(box.pos() + QPoint(step, step) * place);
}

}  // namespace

void ShowNoticeBox(const std::string& text) {
    // exec() would make the box application-modal; a local loop keeps everything else usable.
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kNoticeCaption), ToQt(text),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::NonModal);
    box.setAccessibleName(QString::fromLatin1(kNoticeCaption));
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    box.show();
    StepAwayFromOpenNotices(box);
    box.raise();
    box.activateWindow();
    loop.exec();
}

}  // namespace tobric
