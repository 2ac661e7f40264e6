#include "editor/LoadPanel.h"

#include "document/ShortName.h"
#include "pages/Artwork.h"
#include "pages/Controls.h"
#include "pages/FittedText.h"

#include <QDir>
#include <QEvent>
#include <QKeySequence>

using pages::MakeButton;
using pages::MakeLabel;
using pages::Named;

namespace {

constexpr int PanelHeight = 33;
constexpr int NameGap = 3; // between a file's name and its ".." button
constexpr int Browse1Left = 250;
constexpr int SaveLeft = 278;
constexpr int Browse2Left = 652;
constexpr int ZonesLeft = 694;
constexpr int PictureLeft = 722;
constexpr int SheetLeft = 750;
constexpr int Name1Left = 136;
constexpr int Name2Left = 539;
constexpr int SaveCopyLeft = 306;
constexpr int NoteLeft = 334; // right of "Save a copy…"'s button

// A hint that names its key, in the platform's spelling.
QString WithKey(const QString& hint, const QKeySequence& key) {
    return QStringLiteral("%1 (%2)").arg(hint, key.toString(QKeySequence::NativeText));
}

QString WithKey(const char* hint, const QKeySequence& key) {
    return WithKey(QString::fromLatin1(hint), key);
}

} // namespace

TLoadPanel::TLoadPanel(QWidget* parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("LoadPanel"));
    setFixedHeight(PanelHeight);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);

    LabelT1 = MakeLabel(this, "LabelT1", 8, 6);
    LabelTN1 = Named(new pages::TElidedLabel(this), "LabelTN1");
    LabelTN1->move(Name1Left, 6);
    LabelT2 = MakeLabel(this, "LabelT2", 427, 6);
    LabelTN2 = Named(new pages::TElidedLabel(this), "LabelTN2");
    LabelTN2->move(Name2Left, 6);
    // A long name stops short of its ".." button.
    LabelTN1->setMaximumWidth(Browse1Left - NameGap - Name1Left);
    LabelTN2->setMaximumWidth(Browse2Left - NameGap - Name2Left);
    for (QLabel* name : {LabelTN1, LabelTN2}) {
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setText(QStringLiteral("Not load"));
        name->adjustSize();
    }
    SaveNote = MakeLabel(this, "SaveNote", NoteLeft, 6);
    SaveNote->hide();

    Browse1 = MakeButton(this, "Browse1", {Browse1Left, 4, 21, 21});
    BtnSave = MakeButton(this, "BtnSave", {SaveLeft, 4, 21, 21});
    Browse2 = MakeButton(this, "Browse2", {Browse2Left, 4, 21, 21});
    Browse1->setToolTip(WithKey("This is load button", QKeySequence::Open));
    Browse2->setToolTip(WithKey("This is load button", SecondKey()));
    for (auto [button, tag] : {std::pair{Browse1, 1}, std::pair{Browse2, 2}}) {
        button->setText(QStringLiteral(".."));
        button->setProperty("tag", tag);
        connect(button, &QPushButton::clicked, this,
                [this, main = tag == 1] { emit browseClicked(main); });
    }
    Browse2->setEnabled(false);
    BtnSave->setIcon(artwork::SaveIcon());
    BtnSave->setIconSize({16, 16});
    BtnSave->setToolTip(WithKey("This is save button!", QKeySequence::Save));
    BtnSave->setEnabled(false);
    connect(BtnSave, &QPushButton::clicked, this, &TLoadPanel::saveClicked);
    BtnSaveCopy = MakeButton(this, "BtnSaveCopy", {SaveCopyLeft, 4, 21, 21});
    BtnSaveCopy->setIcon(artwork::SaveCopyIcon());
    BtnSaveCopy->setIconSize({16, 16});
    BtnSaveCopy->setEnabled(false);
    connect(BtnSaveCopy, &QPushButton::clicked, this, &TLoadPanel::saveCopyClicked);
    BtnZones = MakeButton(this, "BtnZones", {ZonesLeft, 4, 21, 21});
    BtnPicture = MakeButton(this, "BtnPicture", {PictureLeft, 4, 21, 21});
    BtnSheet = MakeButton(this, "BtnSheet", {SheetLeft, 4, 21, 21});
    for (auto [button, icon] :
         {std::pair{BtnZones, artwork::ZonesIcon()}, std::pair{BtnPicture, artwork::PictureIcon()},
          std::pair{BtnSheet, artwork::SheetIcon()}}) {
        button->setIcon(icon);
        button->setIconSize({16, 16});
        button->setEnabled(false);
    }
    connect(BtnPicture, &QPushButton::clicked, this, &TLoadPanel::pictureClicked);
    connect(BtnSheet, &QPushButton::clicked, this, &TLoadPanel::sheetClicked);
    connect(BtnZones, &QPushButton::clicked, this, &TLoadPanel::zonesClicked);
    Retranslate();
}

void TLoadPanel::ShowFile(bool main, const QString& path) {
    QLabel* name = main ? LabelTN1 : LabelTN2;
    name->setText(DisplayName(path));
    name->setToolTip(QDir::toNativeSeparators(path));
    name->adjustSize();
}

void TLoadPanel::EnableMainCommands() {
    for (QPushButton* button : {BtnSave, BtnSaveCopy, Browse2, BtnPicture, BtnSheet, BtnZones})
        button->setEnabled(true);
}

void TLoadPanel::ShowSaved(bool shown) {
    SaveNote->setVisible(shown);
}

bool TLoadPanel::InSecondHalf(QPoint point) const {
    return rect().contains(point) && point.x() >= width() / 2;
}

void TLoadPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QFrame::changeEvent(event);
}

void TLoadPanel::Retranslate() {
    LabelT1->setText(tr("Main tactic"));
    LabelT2->setText(tr("Second tactic"));
    SaveNote->setText(tr("Saved"));
    BtnSaveCopy->setToolTip(WithKey(tr("Save a copy…"), SaveCopyKey()));
    BtnPicture->setToolTip(WithKey(tr("Save picture…"), PictureKey()));
    BtnSheet->setToolTip(WithKey(tr("Save tactic sheet…"), SheetKey()));
    BtnZones->setToolTip(WithKey(tr("Zones overview"), ZonesKey()));
    for (QLabel* label : {LabelT1, LabelT2, SaveNote})
        label->adjustSize();
}
