#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace pages {

// The Anti page: two feature buttons that nothing enables yet, and the red
// warning under them. The pitch beside it shows the second tactic as the
// opponent.
class TAntiPage : public QWidget {
    Q_OBJECT
public:
    explicit TAntiPage(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QPushButton* Marking = nullptr;
    QPushButton* OffSide = nullptr;
    QLabel* Warning = nullptr;
};

} // namespace pages
