// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one main of every Qt Test suite: TOBRIC_QT_TEST_MAIN(SuiteClass) at the end of its file.

#include <QObject>
#include <functional>
#include <memory>

namespace tobric_test {

// Runs the suite `makeSuite` builds in an application set up exactly as the program sets up its
// own (its name and the window font everywhere), with a settings folder of its own, so that no
// suite reads or changes the user's settings.
int RunQtSuite(int argc, char** argv, const std::function<std::unique_ptr<QObject>()>& makeSuite);

}  // namespace tobric_test

#define TOBRIC_QT_TEST_MAIN(Suite)                                                              \
    int main(int argc, char** argv) {                                                           \
        return ::tobric_test::RunQtSuite(argc, argv, [] { return std::make_unique<Suite>(); }); \
    }
