// SPDX-License-Identifier: GPL-3.0-or-later
#include "error_report.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringDecoder>
#include <QWidget>

#include "machine/errors.h"
#include "text_codec.h"

namespace tobric {
namespace {

// Messages mix program text (single-byte) with file paths (UTF-8 on this platform): take the
// message as UTF-8 when it is valid UTF-8, byte for byte otherwise.
QString MessageText(const std::string& message) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text =
        utf8(QByteArrayView(message.data(), static_cast<qsizetype>(message.size())));
    return utf8.hasError() ? ToQt(message) : text;
}

std::string KindOfFailure(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const MachineError& e) {
        switch (e.kind()) {
            case ErrorKind::Timer: return "timer error";
            case ErrorKind::OutOfMemory: return "out of memory";
            case ErrorKind::FileOpen:
            case ErrorKind::FileCreate:
            case ErrorKind::Write: return "file error";
            case ErrorKind::Conversion:
            case ErrorKind::ListIndex:
            case ErrorKind::Insert:
            case ErrorKind::EmptyLine: return "machine error";
        }
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (...) {
    }
    return "failure";
}

}  // namespace

void ReportStartupFailure(const std::exception_ptr& error) {
    QMessageBox box(
        QMessageBox::Critical, QStringLiteral("Application Error"),
        QStringLiteral("Tobric Computer could not start (%1): %2")
            .arg(QString::fromLatin1(KindOfFailure(error)), MessageText(ReportText(error))),
        QMessageBox::Ok);
    box.exec();
}

void ReportError(const std::exception_ptr& error) {
    try {
        // A press or a drag in progress ends here.
        if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
        QPointer<QWidget> focus = QApplication::focusWidget();
        QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kApplicationTitle),
                        MessageText(ReportText(error)), QMessageBox::Ok);
        box.setAccessibleName(QStringLiteral("Error"));
        box.exec();
        if (focus) focus->setFocus();
    } catch (...) {
        // Nothing sensible is left to do when the report itself fails.
    }
}

}  // namespace tobric
