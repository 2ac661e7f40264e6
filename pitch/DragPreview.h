#pragma once

#include "DragController.h"
#include "PitchRenderer.h"

#include <QFont>
#include <QImage>

#include <string>

namespace pitch {

// Draws the drag preview over a fresh redraw: the position read-out, then a
// dotted outline of the disc with the player's number. With clearBack the
// read-out and the number have no background and the disc is only an
// outline; otherwise they stand on the fill colour. font is the labels'
// font at height 15, so the number looks like the one on the discs.
void DrawDragPreview(QImage& picture, const TPreview& preview, const std::string& numberText,
                     const TTacticColors& colors, bool clearBack, const QFont& font);

// The same over the renderer's picture, in its label font and style. Never
// reaches PlayersBitmap: the next redraw removes the preview.
void DrawDragPreview(TPitchRenderer& renderer, const TPreview& preview, const TCmTactic& main,
                     const TTacticColors& colors, bool clearBack);

} // namespace pitch
