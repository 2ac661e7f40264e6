#include "editor/PitchPanel.h"

#include "document/TacticDocument.h"
#include "editor/PitchImage.h"
#include "pitch/PitchMap.h"
#include "pitch/PitchRenderer.h"

#include <QApplication>
#include <QEvent>
#include <QRadioButton>

namespace {

constexpr int PanelWidth = 333;
constexpr QRect ModePlace{1, 1, 331, 48};

pitch::TMouseButton DragButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return pitch::TMouseButton::Left;
    case Qt::RightButton:
        return pitch::TMouseButton::Right;
    default:
        return pitch::TMouseButton::Other;
    }
}

} // namespace

TPitchPanel::TPitchPanel(const TTacticDocument& document, pitch::TPitchRenderer& renderer,
                         QWidget* parent)
    : QFrame(parent)
    , Document(document)
    , Renderer(renderer) {
    setObjectName(QStringLiteral("ImagePanel"));
    setFixedWidth(PanelWidth);
    hide();

    ModePanel = new QFrame(this);
    ModePanel->setObjectName(QStringLiteral("ModePanel"));
    ModePanel->setGeometry(ModePlace);
    ModePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ModePanel->setToolTip(QStringLiteral("Switch between modes"));
    ModePanel->hide();
    WithBall = new QRadioButton(ModePanel);
    WithBall->setObjectName(QStringLiteral("WithBall"));
    WithBall->setGeometry(24, 17, 89, 17);
    WithBall->setChecked(true);
    WithoutBall = new QRadioButton(ModePanel);
    WithoutBall->setObjectName(QStringLiteral("WithoutBall"));
    WithoutBall->setGeometry(192, 17, 89, 17);
    for (QRadioButton* phase : {WithBall, WithoutBall}) {
        phase->setCursor(Qt::PointingHandCursor);
        connect(phase, &QRadioButton::clicked, this,
                [this, withBall = phase == WithBall] { emit phaseChosen(withBall); });
    }

    Image = new TPitchImage(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(1, ModePlace.bottom() + 1, pitch::ViewWidth, pitch::ViewHeight);
    Image->setToolTip(QStringLiteral("Drag & drop..."));
    // A click gives it the keyboard, for the key that plays the tactic.
    Image->setFocusPolicy(Qt::ClickFocus);
    Image->SetPicture(&Renderer.Picture());
    connect(Image, &TPitchImage::pixelRatioWanted, this,
            [this](qreal ratio) { Renderer.SetDevicePixelRatio(ratio); });
    connect(Image, &TPitchImage::mouseDown, this, &TPitchPanel::ImageMouseDown);
    connect(Image, &TPitchImage::mouseMove, this, &TPitchPanel::ImageMouseMove);
    connect(Image, &TPitchImage::mouseUp, this,
            [this](Qt::MouseButton, int x, int y) { ImageMouseUp(x, y); });
    Retranslate();
}

void TPitchPanel::SetEditable(bool editable) {
    Editable = editable;
    Image->setCursor(editable ? Qt::PointingHandCursor : Qt::BlankCursor);
}

void TPitchPanel::ShowPhase(bool withBall) {
    (withBall ? WithBall : WithoutBall)->setChecked(true);
}

void TPitchPanel::ShowModePanel() {
    ModePanel->show();
}

void TPitchPanel::Refresh() {
    Image->update();
}

bool TPitchPanel::CancelDrag() {
    if (!Drag.Cancel())
        return false;
    QApplication::restoreOverrideCursor();
    return true;
}

void TPitchPanel::ImageMouseDown(Qt::MouseButton button, int x, int y) {
    if (!Editable)
        return;
    emit pressing();
    const pitch::TPressResult result = Drag.Press(DragButton(button), x, y, Document.Main(),
                                                  Document.BallZone(), Document.WithBall());
    if (result.HidePointer)
        QApplication::setOverrideCursor(Qt::BlankCursor);
    if (result.Redraw)
        emit zoneChosen(result.BallZone);
}

void TPitchPanel::ImageMouseMove(int x, int y) {
    if (!Editable || !Drag.Dragging())
        return;
    const std::optional<pitch::TPreview> preview = Drag.Move(x, y, Smooth);
    emit redrawWanted();
    if (preview) {
        Renderer.DrawPreview(*preview, Document.Main().Players[preview->Player].NumberText,
                             Document.MainColors(), ClearBack);
        Image->update();
    }
}

void TPitchPanel::ImageMouseUp(int x, int y) {
    if (!Editable) {
        // Only a page changed by the keyboard mid-drag gets here: the drag
        // ends without a drop, and the pointer is not left hidden.
        CancelDrag();
        return;
    }
    const pitch::TDragController::TRelease release =
        Drag.Release(x, y, QApplication::startDragDistance());
    if (!release.Ended)
        return;
    QApplication::restoreOverrideCursor();
    // A drop is one undoable step whose signal redraws; a drop outside the
    // grid, on the player's own cell or a mere click redraws all the same.
    if (release.Drop)
        emit dropped(release.Player, *release.Drop);
    else
        emit redrawWanted();
}

void TPitchPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QFrame::changeEvent(event);
}

void TPitchPanel::Retranslate() {
    WithBall->setText(tr("With Ball"));
    WithoutBall->setText(tr("Without Ball"));
}
