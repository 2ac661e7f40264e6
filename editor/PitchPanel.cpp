#include "editor/PitchPanel.h"

#include "document/KeyMoves.h"
#include "document/TacticDocument.h"
#include "editor/PitchImage.h"
#include "pitch/PitchMap.h"
#include "pitch/PitchRenderer.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPoint>
#include <QRadioButton>

#include <optional>

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

// Modifier keys pressed alone neither move nor end a run of moves.
bool ModifierOnly(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

// The cells an arrow moves by as the view shows the main tactic: its own
// goal at the bottom, so up runs toward the opponent's.
std::optional<QPoint> ArrowStep(int key) {
    switch (key) {
    case Qt::Key_Up:
        return QPoint(0, 1);
    case Qt::Key_Down:
        return QPoint(0, -1);
    case Qt::Key_Left:
        return QPoint(-1, 0);
    case Qt::Key_Right:
        return QPoint(1, 0);
    default:
        return std::nullopt;
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
    Image->installEventFilter(this);
    Retranslate();
}

void TPitchPanel::SetEditable(bool editable) {
    Editable = editable;
    // Under the credits nobody moves, so nobody stays chosen.
    if (!editable)
        Choose(-1);
    Image->setCursor(editable ? Qt::PointingHandCursor : Qt::BlankCursor);
}

void TPitchPanel::ShowPhase(bool withBall) {
    (withBall ? WithBall : WithoutBall)->setChecked(true);
}

void TPitchPanel::ShowModePanel() {
    ModePanel->show();
}

void TPitchPanel::Refresh() {
    Describe();
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
    emit keyRunEnded();
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

bool TPitchPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Image)
        return QFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // A shortcut (an undo, a save) never reaches KeyPress: it ends the run here.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (!ArrowStep(key) && !ModifierOnly(key))
            emit keyRunEnded();
        break;
    }
    case QEvent::KeyPress:
        return KeyPress(*static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        TabLeaves = false;
        break;
    case QEvent::FocusOut: {
        emit keyRunEnded();
        // A menu or another window takes the keyboard only for a while.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Choose(-1);
        break;
    }
    default:
        break;
    }
    return QFrame::eventFilter(watched, event);
}

bool TPitchPanel::KeyPress(const QKeyEvent& key) {
    if (!Editable || !Document.MainLoaded() || Drag.Dragging() || ModifierOnly(key.key()))
        return false;
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    if (const std::optional<QPoint> step = ArrowStep(key.key())) {
        // Shift moves the outfield, chosen player or not.
        if (mods == Qt::ShiftModifier)
            emit keyMoved(keymoves::Outfield, step->x(), step->y());
        else if (mods == Qt::NoModifier && ChosenPlayer >= 0)
            emit keyMoved(ChosenPlayer, step->x(), step->y());
        else
            return false;
        return true;
    }
    emit keyRunEnded();
    const int count = TCmTactic::PlayerCount;
    const bool backtab =
        key.key() == Qt::Key_Backtab || (key.key() == Qt::Key_Tab && mods == Qt::ShiftModifier);
    if (backtab || (key.key() == Qt::Key_Tab && mods == Qt::NoModifier)) {
        if (ChosenPlayer < 0 && TabLeaves)
            return false;
        Choose(ChosenPlayer < 0 ? (backtab ? count - 1 : 0)
                                : (ChosenPlayer + (backtab ? count - 1 : 1)) % count);
        return true;
    }
    if (key.key() == Qt::Key_Escape && mods == Qt::NoModifier) {
        TabLeaves = true;
        if (ChosenPlayer < 0)
            return false;
        Choose(-1);
        return true;
    }
    if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9 &&
        (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        const bool quick =
            SinceDigit.isValid() && SinceDigit.elapsed() < QApplication::keyboardInputInterval();
        const int player = keymoves::Typed(quick ? TypedPlayer : -1, key.key() - Qt::Key_0);
        // "10" and "11" start with player 1: the second digit replaces him.
        TypedPlayer = player;
        SinceDigit.start();
        if (player >= 0)
            Choose(player);
        return true;
    }
    return false;
}

void TPitchPanel::Choose(int player) {
    if (player == ChosenPlayer)
        return;
    ChosenPlayer = player;
    if (player >= 0)
        TabLeaves = false;
    Describe();
    emit choiceChanged();
}

void TPitchPanel::Describe() {
    QString text = tr("No player chosen");
    const int zone = Document.BallZone();
    if (ChosenPlayer >= 0 && zone >= 0 && zone < TCmPlayer::ZoneCount) {
        const TCmPlayer& player = Document.Main().Players[static_cast<size_t>(ChosenPlayer)];
        const TCmPos cell =
            (Document.WithBall() ? player.WithBall : player.WithoutBall)[static_cast<size_t>(zone)];
        text = tr("Player %1 chosen, in cell X %2, Y %3")
                   .arg(ChosenPlayer + 1)
                   .arg(cell.X)
                   .arg(cell.Y);
    }
    if (Image->accessibleDescription() != text)
        Image->setAccessibleDescription(text);
}

void TPitchPanel::Retranslate() {
    WithBall->setText(tr("With Ball"));
    WithoutBall->setText(tr("Without Ball"));
    Describe();
}
