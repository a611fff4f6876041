#pragma once

#include <QWidget>

namespace tobric {

// The program editor window. Created hidden at start-up with the other windows.
class TForm4 final : public QWidget {
    Q_OBJECT
public:
    TForm4();
};

}  // namespace tobric
