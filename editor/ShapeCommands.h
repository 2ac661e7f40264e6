#pragma once

#include "document/Shapes.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QWidget;
class TDialogs;
class TTacticDocument;

// Copy and mirror whole shapes of the main tactic: six commands, each one
// step of the document's history, each an action with its own key. The
// window decides when they may run and shows the overview a copy's target
// is picked in.
class TShapeCommands : public QObject {
    Q_OBJECT
public:
    // `ready` says whether a command may run now (a tactic loaded, no drag).
    TShapeCommands(TTacticDocument& document, TDialogs& dialogs, QWidget& window,
                   std::function<bool()> ready);

    const QList<QAction*>& Actions() const { return List; }
    void Retranslate();
    // The zone picked for "Copy shape to another zone".
    void CopyTo(int zone);

signals:
    // A command is about to change positions: play stops.
    void starting();
    // "Copy shape to another zone" waits for a zone picked in the overview.
    void targetWanted();

private:
    void Run(shapes::TCommand command);
    bool Confirm(shapes::TCommand command);

    TTacticDocument& Doc;
    TDialogs& Dialogs;
    QWidget& Window;
    std::function<bool()> Ready;
    QList<QAction*> List;
};
