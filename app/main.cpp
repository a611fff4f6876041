// SPDX-License-Identifier: GPL-3.0-or-later
// Tobric Computer: creates the four windows in their fixed order and runs the event loop.

#include <QApplication>
#include <exception>
#include <memory>

#include "machine/errors.h"
#include "ui/about_box.h"
#include "ui/application_setup.h"
#include "ui/editor_window.h"
#include "ui/error_report.h"
#include "ui/main_window.h"
#include "ui/splash_window.h"

namespace {

// Failures inside any event end here at the latest, reported once; none reaches Qt.
class TobricApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            tobric::ReportError(std::current_exception());
            return true;
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    TobricApplication application(argc, argv);
    tobric::SetUpApplication(application);

    std::unique_ptr<tobric::TForm1> form1;
    std::unique_ptr<tobric::TForm2> form2;
    std::unique_ptr<tobric::Taboutfrm> aboutfrm;
    std::unique_ptr<tobric::TForm4> form4;
    try {
        form1 = std::make_unique<tobric::TForm1>();
        form2 = std::make_unique<tobric::TForm2>(form1.get());
        aboutfrm = std::make_unique<tobric::Taboutfrm>();
        form4 = std::make_unique<tobric::TForm4>(form1->machine(), form1.get());
        form1->SetCompanions(form2.get(), aboutfrm.get(),
                             [editor = form4.get()] { editor->Open(); });
    } catch (...) {
        tobric::ReportStartupFailure(std::current_exception());
        return 1;
    }

    form1->show();
    return application.exec();
}
