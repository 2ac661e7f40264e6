#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QPushButton;
class TRadioGroup;

namespace pages {

// The Options page: hints, reserve copy and the two languages on the left;
// both tactics' colour groups, the drag preview options and "Hide logo" on
// the right. It keeps no choice of its own: it tells the window what the
// user chose, and retranslates itself.
class TOptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit TOptionsPage(QWidget* parent = nullptr);

    // The colour group of the main (true) or the second tactic.
    TRadioGroup* ColorGroup(bool main) const { return main ? MainColor : SecondColor; }

signals:
    void hintsToggled(bool on);
    void languageChosen(bool russian);
    void colorChosen(bool main, int scheme);
    void smoothMoveToggled(bool on);
    void clearBackToggled(bool on);
    void hideLogoToggled(bool hidden);

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QGroupBox* General = nullptr;
    QGroupBox* Image = nullptr;
    QCheckBox* Hints = nullptr;
    QCheckBox* Reserve = nullptr;
    QPushButton* Russian = nullptr;
    QPushButton* English = nullptr;
    TRadioGroup* MainColor = nullptr;
    TRadioGroup* SecondColor = nullptr;
    QCheckBox* SmoothMove = nullptr;
    QCheckBox* ClearBack = nullptr;
    QCheckBox* HideLogo = nullptr;
};

} // namespace pages
