#include "pages/OptionsPage.h"

#include "pages/Artwork.h"
#include "pages/Controls.h"
#include "pages/RadioGroup.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>

namespace pages {

TOptionsPage::TOptionsPage(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TabOptions"));

    General = Named(new QGroupBox(this), "GeneralOptions");
    General->setFixedWidth(160);
    Hints = MakeCheckBox(General, "CheckHints", {6, 24, 150, 17}, "It's checked if you see this ;)",
                         true);
    Reserve = MakeCheckBox(General, "ReserveCopy", {5, 48, 150, 17}, "Save pevious tactic in *.old",
                           true);
    Russian = MakeButton(General, "BtnRussian", {32, 168, 97, 25});
    Russian->setText(QStringLiteral("Russian"));
    Russian->setIcon(QIcon(artwork::RussianFlag()));
    Russian->setProperty("tag", 1);
    English = MakeButton(General, "BtnEnglish", {32, 200, 97, 25});
    English->setText(QStringLiteral("English"));
    English->setIcon(QIcon(artwork::UnitedKingdomFlag()));
    English->setProperty("tag", 2);
    for (QPushButton* language : {Russian, English})
        language->setIconSize({32, 20});

    Image = Named(new QGroupBox(this), "ImageOptions");
    Image->setFixedWidth(289);
    const QStringList four(4, QString());
    MainColor = Named(new TRadioGroup(four, Image), "CheckMainColor");
    MainColor->setGeometry(8, 32, 121, 113);
    MainColor->setProperty("tag", 1);
    SecondColor = Named(new TRadioGroup(four, Image), "CheckSecondColor");
    SecondColor->setGeometry(152, 32, 121, 113);
    SecondColor->setProperty("tag", 2);
    const char* const dragHint = "Drag players and see difference...";
    SmoothMove = MakeCheckBox(Image, "SmoothMove", {16, 168, 163, 17}, dragHint, false);
    ClearBack = MakeCheckBox(Image, "ClearBack", {16, 200, 161, 17}, dragHint, false);
    HideLogo = MakeCheckBox(Image, "HideLogo", {16, 232, 156, 17}, "Hide logo :(", false);

    // Both boxes are docked at the left and as high as the page.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(General);
    layout->addWidget(Image);
    layout->addStretch();

    connect(Hints, &QCheckBox::clicked, this, &TOptionsPage::hintsToggled);
    connect(Russian, &QPushButton::clicked, this, [this] { emit languageChosen(true); });
    connect(English, &QPushButton::clicked, this, [this] { emit languageChosen(false); });
    connect(MainColor, &TRadioGroup::selectionChanged, this,
            [this](int scheme) { emit colorChosen(true, scheme); });
    connect(SecondColor, &TRadioGroup::selectionChanged, this,
            [this](int scheme) { emit colorChosen(false, scheme); });
    connect(SmoothMove, &QCheckBox::clicked, this, &TOptionsPage::smoothMoveToggled);
    connect(ClearBack, &QCheckBox::clicked, this, &TOptionsPage::clearBackToggled);
    connect(HideLogo, &QCheckBox::clicked, this, &TOptionsPage::hideLogoToggled);
    Retranslate();
}

void TOptionsPage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

void TOptionsPage::Retranslate() {
    General->setTitle(tr("General Options"));
    Image->setTitle(tr("Image Options"));
    MainColor->setTitle(tr("Main tactic colors"));
    MainColor->SetItemText(0, tr("Zenit"));
    MainColor->SetItemText(1, tr("CSKA"));
    MainColor->SetItemText(2, tr("AC Milan"));
    MainColor->SetItemText(3, tr("Custom"));
    SecondColor->setTitle(tr("Second tactic colors"));
    SecondColor->SetItemText(0, tr("Spartak M"));
    SecondColor->SetItemText(1, tr("Alania"));
    SecondColor->SetItemText(2, tr("Internazionale"));
    SecondColor->SetItemText(3, tr("Custom"));
    SmoothMove->setText(tr("Smooth movement"));
    ClearBack->setText(tr("Text without background"));
    HideLogo->setText(tr("Hide logo"));
    Hints->setText(tr("Show hints"));
    Reserve->setText(tr("Reserve copy"));
    // The two colons of the credit lines stand one above the other.
    CreditLines = {"Pitchwright\u2122",
                   tr("Idea                   : Pitchwright team").toStdString(),
                   tr("Author                 : Pitchwright team").toStdString(),
                   // The contact lines name what comes with every copy of the program.
                   "Help:    README",
                   "Licence: GNU GPL 3 or later, see LICENSE",
                   tr("         (c) 2026 Pitchwright team").toStdString()};
}

} // namespace pages
