#include "pages/AntiPage.h"

#include "pages/Artwork.h"
#include "pages/Controls.h"

#include <QEvent>

namespace pages {

TAntiPage::TAntiPage(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TabAnti"));
    const QIcon football(artwork::Football());
    Marking = MakeButton(this, "BtnMarking", {56, 48, 233, 41});
    OffSide = MakeButton(this, "BtnOffSide", {56, 120, 233, 41});
    for (QPushButton* button : {Marking, OffSide}) {
        button->setIcon(football);
        button->setIconSize({32, 32});
        // Nothing ever enables them: the features are not there yet.
        button->setEnabled(false);
    }
    MakeLabel(this, "LabelDone", 288, 16);
    Warning = MakeLabel(this, "Warning", 78, 272);
    QPalette palette = Warning->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    Warning->setPalette(palette);
    Retranslate();
}

void TAntiPage::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

void TAntiPage::Retranslate() {
    OffSide->setText(tr("Make \"real\" offside trap"));
    Marking->setText(tr("Make marking more close"));
    Warning->setText(tr("These features are tested!"));
    Warning->adjustSize();
}

} // namespace pages
