#include "notice.h"

#include <QEventLoop>
#include <QMessageBox>

#include "text_codec.h"

namespace tobric {

void ShowNoticeBox(const std::string& text) {
    // exec() would make the box application-modal; a local loop keeps everything else usable.
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kNoticeCaption), ToQt(text),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::NonModal);
    box.setAccessibleName(QString::fromLatin1(kNoticeCaption));
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    box.show();
    box.raise();
    box.activateWindow();
    loop.exec();
}

}  // namespace tobric
