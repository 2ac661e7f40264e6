#pragma once

#include <QFrame>
#include <QKeySequence>

class QLabel;
class QPushButton;

// The panel along the bottom of the window: the main tactic's name, its
// ".." and save buttons, then the second tactic's name and its "..". It
// shows what the window tells it and reports the buttons' clicks.
class TLoadPanel : public QFrame {
    Q_OBJECT
public:
    explicit TLoadPanel(QWidget* parent = nullptr);

    // The file loaded as the main (true) or second tactic: its name in its
    // own case, the full path as the hint.
    void ShowFile(bool main, const QString& path);
    // Once a main tactic is loaded, it can be saved and compared.
    void EnableMainCommands();
    // A short note that the main tactic was saved, until `shown` is false.
    void ShowSaved(bool shown);
    // Whether a point of this panel lies in the second tactic's half.
    bool InSecondHalf(QPoint point) const;

    QPushButton* BrowseButton(bool main) const { return main ? Browse1 : Browse2; }
    // The key of the second tactic's "..", as its hint names it.
    static QKeySequence SecondKey() { return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O); }
    QPushButton* SaveButton() const { return BtnSave; }
    // "Save a copy…": the tactic as edited into another file.
    static QKeySequence SaveCopyKey() { return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S); }
    // The keys of "Save picture…" and "Save tactic sheet…", as their hints name them.
    static QKeySequence PictureKey() { return QKeySequence(Qt::CTRL | Qt::Key_E); }
    static QKeySequence SheetKey() { return QKeySequence(Qt::CTRL | Qt::Key_P); }
    // Opens and closes the zones overview.
    static QKeySequence ZonesKey() { return QKeySequence(Qt::CTRL | Qt::Key_G); }
    QPushButton* ZonesButton() const { return BtnZones; }

signals:
    void browseClicked(bool main);
    void saveClicked();
    void saveCopyClicked();
    void pictureClicked();
    void sheetClicked();
    void zonesClicked();

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    QLabel* LabelT1 = nullptr;
    QLabel* LabelT2 = nullptr;
    QLabel* LabelTN1 = nullptr;
    QLabel* LabelTN2 = nullptr;
    QLabel* SaveNote = nullptr;
    QPushButton* Browse1 = nullptr;
    QPushButton* Browse2 = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnSaveCopy = nullptr;
    QPushButton* BtnPicture = nullptr;
    QPushButton* BtnSheet = nullptr;
    QPushButton* BtnZones = nullptr;
};
