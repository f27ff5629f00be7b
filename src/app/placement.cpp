#include "app/placement.h"

#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace recibo {

namespace {

// How long after showing a window the window manager may take to frame it.
constexpr int kFramingMs = 3000;
constexpr char kPlacerName[] = "framedPlacer";
constexpr int kLookMs = 50;

// Looks at a window being shown until the window manager has framed it,
// then moves it where its real frame belongs, once, and goes.
class FramedPlacer : public QObject {
public:
    FramedPlacer(QWidget &window, std::function<QPoint(const QSize &)> where)
        : QObject(&window), window_(window), where_(std::move(where))
    {
        setObjectName(QLatin1String(kPlacerName));
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &FramedPlacer::look);
        timer->start(kLookMs);
        QTimer::singleShot(kFramingMs, this, &QObject::deleteLater);
    }

private:
    void look()
    {
        const QRect frame = window_.frameGeometry();
        if (!window_.isVisible() || frame.size() == window_.size())
            return;           // not framed yet
        if (frame != last_) { // the same twice in a row: settled
            last_ = frame;
            return;
        }
        const QPoint place = where_(frame.size());
        if (frame.topLeft() != place)
            window_.move(place); // a framed window is moved by its frame
        deleteLater();
    }

    QWidget &window_;
    QRect last_;
    std::function<QPoint(const QSize &)> where_;
};

// Between the entry window and the slip beside it.
constexpr int kGap = 8;

qint64 area(const QRect &r) { return r.isEmpty() ? 0 : qint64(r.width()) * r.height(); }

// `place` moved as little as it takes for `size` to lie inside `screen`
// (its top-left corner first, where the screen is the smaller).
QPoint onScreen(const QRect &screen, QPoint place, const QSize &size)
{
    place.setX(std::max(screen.left(), std::min(place.x(), screen.right() + 1 - size.width())));
    place.setY(std::max(screen.top(), std::min(place.y(), screen.bottom() + 1 - size.height())));
    return place;
}

bool fits(const QRect &screen, const QRect &window) { return screen.contains(window); }

} // namespace

QSize framed(const QSize &client, const QMargins &frame) { return client.grownBy(frame); }

QPoint centredOver(const QRect &screen, const QRect &entry, const QSize &dialog)
{
    const QPoint centred(entry.left() + (entry.width() - dialog.width()) / 2,
                         entry.top() + (entry.height() - dialog.height()) / 2);
    return screen.isEmpty() ? centred : onScreen(screen, centred, dialog);
}

QPoint slipPlace(const QRect &screen, const QRect &entry, const QSize &slip, const WorkingAreas &keep)
{
    const int top = entry.top();
    const QPoint right(entry.right() + 1 + kGap, top);
    const QPoint left(entry.left() - kGap - slip.width(), top);
    if (screen.isEmpty())
        return right;
    for (const QPoint &beside : {right, left}) {
        const QPoint place(beside.x(), onScreen(screen, beside, slip).y());
        if (fits(screen, QRect(place, slip)))
            return place;
    }

    // No room beside it: every place on the screen whose edges meet an edge
    // of the screen or of something to be kept in view, and the best of them.
    std::vector<int> xs{screen.left(), screen.right() + 1 - slip.width(), right.x(), left.x()};
    std::vector<int> ys{screen.top(), screen.bottom() + 1 - slip.height(), top};
    QList<QRect> kept = keep.fields;
    kept.append(keep.calcular);
    for (const QRect &r : kept) {
        xs.insert(xs.end(), {r.right() + 1, r.left() - slip.width()});
        ys.insert(ys.end(), {r.bottom() + 1, r.top() - slip.height()});
    }
    const QPoint preferred = onScreen(screen, right, slip);
    using Score = std::tuple<qint64, qint64, int>; // Calcular covered, fields covered, distance
    Score best{-1, 0, 0};
    QPoint chosen = preferred;
    for (const int x : xs) {
        for (const int y : ys) {
            const QPoint place = onScreen(screen, QPoint(x, y), slip);
            const QRect window(place, slip);
            qint64 fields = 0;
            for (const QRect &field : keep.fields)
                fields += area(window.intersected(field));
            const Score score{area(window.intersected(keep.calcular)), fields, (place - preferred).manhattanLength()};
            if (std::get<0>(best) < 0 || score < best) {
                best = score;
                chosen = place;
            }
        }
    }
    return chosen;
}

void placeFramed(QWidget &window, const QMargins &guess, std::function<QPoint(const QSize &)> where)
{
    // A window not yet shown is placed by its client area, which the window
    // manager frames where it stands.
    window.move(where(framed(window.size(), guess)));
    // Any placer still watching from an earlier showing goes first.
    delete window.findChild<QObject *>(QLatin1String(kPlacerName), Qt::FindDirectChildrenOnly);
    new FramedPlacer(window, std::move(where));
}

} // namespace recibo
