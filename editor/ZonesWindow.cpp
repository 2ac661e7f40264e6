#include "editor/ZonesWindow.h"

#include "pages/Artwork.h"
#include "pitch/Fonts.h"
#include "pitch/PitchMap.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr QSize OpeningSize{390, 640};
constexpr QSize LeastSize{180, 260};
constexpr int ZoneCount = pitch::ZoneColumns * pitch::ZoneRows;

// Everything a picture of the scene depends on, to tell a change from a repeat.
std::string SceneKey(const pitch::TScene& scene, const std::vector<int>& route) {
    std::string key;
    const auto add = [&key](int value) {
        key.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    for (const TCmTactic* tactic : {scene.Main, scene.Second}) {
        add(tactic != nullptr);
        if (tactic == nullptr)
            continue;
        for (const TCmPlayer& player : tactic->Players) {
            for (const auto* grid : {&player.WithBall, &player.WithoutBall})
                for (const TCmPos& pos : *grid) {
                    add(pos.X);
                    add(pos.Y);
                }
            key += player.NumberText;
            key += '\0';
        }
    }
    for (int value : {scene.BallZone, int(scene.WithBall), int(scene.SecondMode),
                      int(scene.MainColors.Fill.rgb()), int(scene.MainColors.Line.rgb()),
                      int(scene.SecondColors.Fill.rgb()), int(scene.SecondColors.Line.rgb())})
        add(value);
    for (int zone : route)
        add(zone);
    return key;
}

} // namespace

TOverviewView::TOverviewView(QWidget* parent)
    : QWidget(parent)
    , Overview(pitch::WindowFontFace()) {
    setObjectName(QStringLiteral("Overview"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(LeastSize);
}

void TOverviewView::ShowScene(const pitch::TScene& scene) {
    Scene = scene;
    Redraw();
}

void TOverviewView::SetRoute(const std::vector<int>& route) {
    Route = route;
    Redraw();
}

void TOverviewView::MarkPlayZone(int zone) {
    if (zone == PlayZone)
        return;
    PlayZone = zone;
    update();
}

void TOverviewView::Redraw() {
    // A hidden overview draws when it shows again.
    if (!isVisible()) {
        Drawn.clear();
        return;
    }
    std::string key = SceneKey(Scene, Route);
    const qreal dpr = devicePixelRatioF();
    const QImage& picture = Overview.Picture();
    if (key == Drawn && picture.size() == (QSizeF(size()) * dpr).toSize() &&
        picture.devicePixelRatio() == dpr)
        return;
    Overview.Draw(Scene, Route, size(), dpr);
    Drawn = std::move(key);
    update();
}

int TOverviewView::ZoneAt(QPoint point) const {
    return pitch::TOverviewLayout(size()).ZoneAt(point);
}

QString TOverviewView::HintAt(QPoint point) const {
    const int zone = ZoneAt(point);
    if (zone < 0)
        return {};
    const char* const columns[] = {QT_TR_NOOP("left"), QT_TR_NOOP("centre"), QT_TR_NOOP("right")};
    const char* const rows[] = {QT_TR_NOOP("own goal"), QT_TR_NOOP("own half"),
                                QT_TR_NOOP("opponent's half"), QT_TR_NOOP("opponent's goal")};
    QString hint = tr("Ball zone %1: %2, %3")
                       .arg(zone + 1)
                       .arg(tr(columns[zone / pitch::ZoneRows]), tr(rows[zone % pitch::ZoneRows]));
    if (pitch::TOverview::NumbersShown(size()))
        return hint;
    if (const pitch::TOverviewDisc* disc = Overview.DiscAt(point)) {
        const TCmTactic* tactic = disc->Second ? Scene.Second : Scene.Main;
        if (tactic != nullptr) {
            const QString number = QString::fromStdString(
                tactic->Players[static_cast<size_t>(disc->Player)].NumberText);
            hint += QLatin1Char('\n') +
                    (disc->Second ? tr("Second tactic's player %1") : tr("Player %1")).arg(number);
        }
    }
    return hint;
}

bool TOverviewView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = HintAt(help->pos());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this, QRect(help->pos(), QSize(1, 1)));
        return true;
    }
    return QWidget::event(event);
}

void TOverviewView::paintEvent(QPaintEvent*) {
    // Moved to a screen of another pixel ratio, or shown after a change while hidden.
    Redraw();
    QPainter painter(this);
    painter.drawImage(0, 0, Overview.Picture());
    if (PlayZone < 0 || PlayZone >= ZoneCount)
        return;
    // The playing ball's zone: a white frame inside its small pitch, over
    // the picture, so that play never draws the overview again.
    const QRect r = pitch::TOverviewLayout(size()).PitchRect(PlayZone);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(1, 1, -1, -1));
}

void TOverviewView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Redraw();
}

void TOverviewView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    const int zone = ZoneAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && zone >= 0)
        emit zoneClicked(zone);
}

void TOverviewView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        emit playPauseKey();
        return;
    }
    QWidget::keyPressEvent(event);
}

TZonesWindow::TZonesWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("ZonesWindow"));
    const auto button = [this](const char* name, const QIcon& icon) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    BtnPlay = button("BtnPlay", style()->standardIcon(QStyle::SP_MediaPlay));
    BtnPrevZone = button("BtnPrevZone", style()->standardIcon(QStyle::SP_MediaSkipBackward));
    BtnNextZone = button("BtnNextZone", style()->standardIcon(QStyle::SP_MediaSkipForward));
    BtnRoute = button("BtnRoute", artwork::RouteIcon());
    BtnRoute->setCheckable(true);
    BtnClearRoute = button("BtnClearRoute", style()->standardIcon(QStyle::SP_DialogResetButton));
    BtnClearRoute->setEnabled(false);
    BtnShapes = button("BtnShapes", style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    BtnShapes->setPopupMode(QToolButton::InstantPopup);
    BtnShapes->setMenu(new QMenu(BtnShapes));
    BtnShapes->menu()->setToolTipsVisible(true);
    TargetHint = new QLabel(this);
    TargetHint->setObjectName(QStringLiteral("TargetHint"));
    TargetHint->setWordWrap(true);
    TargetHint->setContentsMargins(4, 0, 4, 0);
    TargetHint->hide();
    ComboSpeed = new QComboBox(this);
    ComboSpeed->setObjectName(QStringLiteral("ComboSpeed"));
    Overview = new TOverviewView(this);

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(4, 2, 4, 0);
    for (QWidget* control : {static_cast<QWidget*>(BtnPrevZone), static_cast<QWidget*>(BtnPlay),
                             static_cast<QWidget*>(BtnNextZone), static_cast<QWidget*>(ComboSpeed)})
        controls->addWidget(control);
    controls->addStretch();
    controls->addWidget(BtnRoute);
    controls->addWidget(BtnClearRoute);
    controls->addWidget(BtnShapes);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    outer->addLayout(controls);
    outer->addWidget(TargetHint);
    outer->addWidget(Overview, 1);

    connect(BtnPlay, &QToolButton::clicked, this, &TZonesWindow::playPauseWanted);
    connect(Overview, &TOverviewView::playPauseKey, this, &TZonesWindow::playPauseWanted);
    connect(BtnPrevZone, &QToolButton::clicked, this, [this] { emit stepWanted(-1); });
    connect(BtnNextZone, &QToolButton::clicked, this, [this] { emit stepWanted(+1); });
    connect(ComboSpeed, &QComboBox::activated, this, &TZonesWindow::speedChosen);
    connect(BtnRoute, &QToolButton::toggled, Overview, &TOverviewView::SetRouteEditing);
    connect(BtnClearRoute, &QToolButton::clicked, this, [this] { SetRoute({}); });
    connect(Overview, &TOverviewView::zoneClicked, this, [this](int zone) {
        if (Waiting) {
            WaitForTarget(false);
            emit targetChosen(zone);
            return;
        }
        if (!BtnRoute->isChecked()) {
            emit zoneChosen(zone);
            return;
        }
        std::vector<int> route = Route_;
        route.push_back(zone);
        SetRoute(std::move(route));
    });
    Retranslate();
    ComboSpeed->setCurrentIndex(1);
    resize(OpeningSize);
}

void TZonesWindow::SetRoute(std::vector<int> route) {
    Route_ = std::move(route);
    BtnClearRoute->setEnabled(!Route_.empty());
    Overview->SetRoute(Route_);
    emit routeChanged(Route_);
}

void TZonesWindow::UpdateFields(const pitch::TScene& scene) {
    Overview->ShowScene(scene);
}

void TZonesWindow::ShowPlay(bool playing, int zone) {
    if (playing != Playing) {
        Playing = playing;
        BtnPlay->setIcon(
            style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
        Retranslate();
    }
    Overview->MarkPlayZone(zone);
}

void TZonesWindow::OpenBeside(const QWidget& main) {
    const QRect avail = main.screen()->availableGeometry();
    const QRect outside = main.frameGeometry();
    // The title bar and borders this window will get, as the main one has them.
    const QMargins frame(
        main.geometry().left() - outside.left(), main.geometry().top() - outside.top(),
        outside.right() - main.geometry().right(), outside.bottom() - main.geometry().bottom());
    const QSize inner = size().boundedTo(QSize(avail.width() - frame.left() - frame.right(),
                                               avail.height() - frame.top() - frame.bottom()));
    resize(inner.expandedTo(LeastSize));
    const int width = this->width() + frame.left() + frame.right();
    const int height = this->height() + frame.top() + frame.bottom();
    // Right of the main window where that fits, else left of it, else over it.
    int left = outside.right() + 1;
    if (left + width > avail.right() + 1)
        left = outside.left() - width;
    left = std::clamp(left, avail.left(), std::max(avail.left(), avail.right() + 1 - width));
    const int top =
        std::clamp(outside.top(), avail.top(), std::max(avail.top(), avail.bottom() + 1 - height));
    move(left, top);
    show();
    raise();
}

void TZonesWindow::SetShapeActions(const QList<QAction*>& actions) {
    BtnShapes->menu()->addActions(actions);
    addActions(actions);
}

void TZonesWindow::WaitForTarget(bool on) {
    Waiting = on;
    TargetHint->setVisible(on);
    if (on) {
        activateWindow();
        Overview->setFocus(Qt::OtherFocusReason);
    }
}

void TZonesWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && Waiting) {
        WaitForTarget(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TZonesWindow::hideEvent(QHideEvent* event) {
    WaitForTarget(false);
    QWidget::hideEvent(event);
    emit hidden();
}

void TZonesWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

void TZonesWindow::Retranslate() {
    setWindowTitle(tr("Zones overview"));
    BtnPlay->setToolTip(Playing ? tr("Pause (Space)") : tr("Play the tactic (Space)"));
    BtnPrevZone->setToolTip(tr("Previous zone of the route"));
    BtnNextZone->setToolTip(tr("Next zone of the route"));
    ComboSpeed->setToolTip(tr("Speed of play"));
    const int speed = ComboSpeed->currentIndex() < 0 ? 1 : ComboSpeed->currentIndex();
    ComboSpeed->clear();
    ComboSpeed->addItems({tr("Slow"), tr("Normal"), tr("Fast")});
    ComboSpeed->setCurrentIndex(speed);
    BtnRoute->setToolTip(tr("Make a route: click the zones in order"));
    BtnClearRoute->setToolTip(tr("Clear the route (back to the default route)"));
    BtnShapes->setToolTip(tr("Copy or mirror the shape of the zone shown"));
    TargetHint->setText(tr("Click the zone to copy the shape to (Escape cancels)"));
}
