#pragma once

#include "pitch/Overview.h"
#include "pitch/PitchRenderer.h"

#include <QWidget>

#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QToolButton;

// The twelve small pitches of the overview. It draws when what it shows
// changes (or its size or pixel ratio), never on a timer; a click chooses a
// zone, or adds it to the route while the route is being made.
class TOverviewView : public QWidget {
    Q_OBJECT
public:
    explicit TOverviewView(QWidget* parent = nullptr);

    void ShowScene(const pitch::TScene& scene);
    void SetRoute(const std::vector<int>& route);
    void SetRouteEditing(bool on) { RouteEditing = on; }
    // The zone the playing ball is in, marked over the picture; -1 for none.
    void MarkPlayZone(int zone);
    const QImage& Picture() const { return Overview.Picture(); }
    int ZoneAt(QPoint point) const;
    // The hint at a point: the zone, and the player where numbers are too small.
    QString HintAt(QPoint point) const;

signals:
    void zoneClicked(int zone);
    void playPauseKey();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Redraw();

    pitch::TOverview Overview;
    pitch::TScene Scene;
    // What the picture was drawn from; an equal scene draws nothing.
    std::string Drawn;
    std::vector<int> Route;
    bool RouteEditing = false;
    int PlayZone = -1;
};

// The zones overview's own small window beside the main one: the overview
// and the play controls. It reports what the user asks; the main window
// plays and keeps the document.
class TZonesWindow : public QWidget {
    Q_OBJECT
public:
    explicit TZonesWindow(QWidget* parent);

    // The big pitch's scene, followed at once.
    void UpdateFields(const pitch::TScene& scene);
    // Play running or not, and the zone its ball is in (-1 when not active).
    void ShowPlay(bool playing, int zone);
    // Opens beside `main`, fully on its screen's available area.
    void OpenBeside(const QWidget& main);
    const std::vector<int>& Route() const { return Route_; }
    TOverviewView* View() const { return Overview; }
    // The shape commands, offered by the shapes button's menu; their keys
    // work here too.
    void SetShapeActions(const QList<QAction*>& actions);
    // A click on a small pitch picks a copy's target, and a hint says so;
    // Escape or a close gives up.
    void WaitForTarget(bool on);

signals:
    void zoneChosen(int zone);
    void playPauseWanted();
    void stepWanted(int direction);
    // 0 slow, 1 normal, 2 fast.
    void speedChosen(int speed);
    // The user's route; empty for the default one.
    void routeChanged(const std::vector<int>& route);
    // Closed, or hidden with the main window.
    void hidden();
    void targetChosen(int zone);

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Retranslate();
    void SetRoute(std::vector<int> route);

    TOverviewView* Overview = nullptr;
    QToolButton* BtnPlay = nullptr;
    QToolButton* BtnPrevZone = nullptr;
    QToolButton* BtnNextZone = nullptr;
    QComboBox* ComboSpeed = nullptr;
    QToolButton* BtnRoute = nullptr;
    QToolButton* BtnClearRoute = nullptr;
    QToolButton* BtnShapes = nullptr;
    QLabel* TargetHint = nullptr;
    bool Waiting = false;
    std::vector<int> Route_;
    bool Playing = false;
};
