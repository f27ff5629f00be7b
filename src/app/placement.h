#pragma once

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace recibo {

// Where the windows open, in screen coordinates; every size includes the
// window manager's frame.

// The places on the entry window the user works in: "Calcular" and each
// field shown.
struct WorkingAreas {
    QRect calcular;
    QList<QRect> fields;
};

// The slip's place. Beside the entry window, its top level with the entry's,
// on the right where the screen has room for it there, else on the left. With
// room on neither side: the place on the screen that leaves "Calcular"
// uncovered and covers the least of the fields (none where it can), nearest
// the entry's right side.
QPoint slipPlace(const QRect &screen, const QRect &entry, const QSize &slip, const WorkingAreas &keep);

// A dialog's place: centred over the entry window, moved as little as it
// takes to lie wholly on the screen.
QPoint centredOver(const QRect &screen, const QRect &entry, const QSize &dialog);

// The size a window of `client` size takes with a frame like `frame` (the
// margins of a window already framed; none before the window manager framed one).
QSize framed(const QSize &client, const QMargins &frame);

// Puts `window`, about to be shown, with its frame at `where(frame size)`.
// Until the window manager has framed it, its frame is taken to be `guess`
// (another window's); once framed, within a moment of showing, it is moved
// again if its own frame puts it elsewhere (a frame with a resize grip is
// taller, say).
void placeFramed(QWidget &window, const QMargins &guess, std::function<QPoint(const QSize &)> where);

} // namespace recibo
