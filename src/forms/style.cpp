#include "forms/style.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBackingStore>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>
#include <deque>

#ifdef RECIBO_READS_PNG
#include <QFile>

#include <png.h>
#endif

namespace recibo::forms {

namespace {

// Dark blue: at least 3:1 against every face and box colour of the windows
// (12.8:1 on cyan, 7:1 on the darker cyan, 4:1 on the red "Aceptar").
const QColor kRingColour(0, 0, 128);
constexpr int kRingWidth = 2;

// A toggle that is on (a checked deduction, the chosen seniority band) shows
// a black edge two pixels wide round its sunken face: at least 8:1 against
// every face colour of the windows when off, where the sunken shade alone
// differs by little more than 1:1. A focused toggle that is on shows its ring
// inside that edge, so the two never stand for each other.
const QColor kCheckedEdge(0, 0, 0);
constexpr int kCheckedEdgeWidth = 2;

// What the style draws with see-through parts (shading, soft corners, frame
// pictures) goes on paper as an opaque picture of itself laid over the
// backdrop beneath, at this many dots to the inch.
constexpr double kPaperPictureDpi = 300;

// Qt spreads a stretched picture or a see-through fill taller than about 96
// rows over a pool of threads; a group box's frame is drawn in bands lower
// than that.
constexpr int kFrameBand = 64;
constexpr QMargins kFrameCorners(6, 6, 6, 6);

// The band `width` pixels wide that starts `inset` pixels inside the control.
QRegion bandOf(const QRect &control, int inset, int width)
{
    const QRect outer = control.adjusted(inset, inset, -inset, -inset);
    const QRect inner = outer.adjusted(width, width, -width, -width);
    return QRegion(outer).subtracted(QRegion(inner));
}
// The band the ring covers: two pixels just inside the control's outermost
// pixel, which Fusion draws as a dark outline the ring would not stand out on
// (inside the edge of a toggle that is on).
QRegion ringOf(const QRect &control, int inset = 1) { return bandOf(control, inset, kRingWidth); }

// A push button that stays down when clicked, and is down now.
bool toggledOn(const QStyleOption *option, const QWidget *widget)
{
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    return button && button->isCheckable() && (option->state & QStyle::State_On);
}

// Whether the painter draws into the window on the screen. Printing renders
// the window onto another device (a printer, a PDF writer, a picture first),
// and what is not on the screen shows no focus.
bool onScreen(const QPainter *painter, const QWidget *widget)
{
    QBackingStore *store = widget->backingStore();
    const QPaintEngine *engine = painter->paintEngine();
    return store && engine && engine->paintDevice() == store->paintDevice();
}

// A control shows the ring while it has the focus, if the focus came from the
// keyboard: Qt marks the window when Tab, Backtab, an arrow key of an option
// group or a shortcut moves the focus, and the style takes the mark away when
// a click moves it (see FormStyle::event).
bool showsRing(const QWidget *control)
{
    return control && control->hasFocus() && control->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

// Whether the painter draws for paper: a printer, a PDF writer, a recorded
// picture, anything but pixels. Paper takes no transparency: a PostScript
// printer, or the PostScript path of a print queue, would turn the whole area
// under a see-through part into one picture, its text with it.
bool onPaper(const QPainter *painter)
{
    const QPaintEngine *engine = painter->paintEngine();
    return engine && engine->type() != QPaintEngine::Raster;
}

// The colour a control is drawn over: the background of the nearest widget
// that fills its own, up to the window.
QColor backdropOf(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    }
    return Qt::white;
}

// `picture` laid over `backdrop` and made opaque: what the paper shows where
// the picture is drawn over that colour.
QImage flattened(const QImage &picture, const QColor &backdrop)
{
    QImage opaque(picture.size(), QImage::Format_RGB32);
    opaque.setDevicePixelRatio(picture.devicePixelRatio());
    opaque.fill(backdrop);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, picture);
    return opaque;
}

// Runs `draw` (drawing with see-through parts into `area`) into an opaque
// picture over `backdrop` and puts that on the paper. The picture has as many
// pixels as the paper has dots, up to kPaperPictureDpi, and goes into the
// page without loss.
template <typename Draw> void drawOpaque(QPainter *painter, const QRect &area, const QColor &backdrop, Draw draw)
{
    if (area.isEmpty())
        return;
    const QTransform &toDevice = painter->deviceTransform();
    const double deviceScale =
        std::max(std::hypot(toDevice.m11(), toDevice.m12()), std::hypot(toDevice.m21(), toDevice.m22()));
    // The device the engine draws on: a widget's painter names the widget.
    const QPaintDevice *paper = painter->paintEngine()->paintDevice();
    const int dpi = std::max(paper ? paper->logicalDpiX() : 0, 1);
    const double scale = std::max(1.0, std::min(deviceScale, kPaperPictureDpi * deviceScale / dpi));
    QImage picture((QSizeF(area.size()) * scale).toSize(), QImage::Format_RGB32);
    if (picture.isNull())
        return;
    picture.setDevicePixelRatio(scale);
    picture.fill(backdrop);
    {
        QPainter inner(&picture);
        inner.setFont(painter->font());
        inner.setRenderHints(painter->renderHints());
        inner.translate(-area.topLeft());
        draw(&inner);
    }
    painter->save();
    painter->setRenderHint(QPainter::LosslessImageRendering);
    painter->drawImage(QRectF(area), picture);
    painter->restore();
}

// A PNG picture from Qt's resources, read by libpng. QImageReader would
// first go through every image plug-in installed, loading each one's
// description from disk, which takes longer than the picture itself.
#ifdef RECIBO_READS_PNG
QImage readPng(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data.constData(), std::size_t(data.size())))
        return {};
    // The bytes of QImage::Format_ARGB32, unpremultiplied as it is.
    png.format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage picture(int(png.width), int(png.height), QImage::Format_ARGB32);
    if (picture.isNull() ||
        !png_image_finish_read(&png, nullptr, picture.bits(), png_int_32(picture.bytesPerLine()), nullptr)) {
        png_image_free(&png);
        return {};
    }
    return picture;
}
#endif

void paintBand(QPainter *painter, const QRegion &region, const QColor &colour)
{
    for (const QRect &band : region)
        painter->fillRect(band, colour);
}
void paintRing(QPainter *painter, const QRegion &ring) { paintBand(painter, ring, kRingColour); }

class FormStyle : public QProxyStyle {
public:
    FormStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (seeThrough(element) && onPaper(painter)) {
            drawOpaque(painter, option->rect, backdropOf(widget),
                       [&](QPainter *picture) { drawControl(element, option, picture, widget); });
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
        const bool on = element == CE_PushButtonBevel && toggledOn(option, widget);
        if (on)
            paintBand(painter, bandOf(option->rect, 0, kCheckedEdgeWidth), kCheckedEdge);
        // A button's ring goes on its face, under its caption (the face is
        // drawn first), inside the edge of a toggle that is on; a check box's
        // runs round its caption and its box.
        if ((element == CE_PushButtonBevel || element == CE_CheckBox) && showsRing(widget) && onScreen(painter, widget))
            paintRing(painter, ringOf(option->rect, on ? kCheckedEdgeWidth : 1));
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        if (seeThrough(control) && onPaper(painter)) {
            drawOpaque(painter, option->rect, backdropOf(widget),
                       [&](QPainter *picture) { drawComplexControl(control, option, picture, widget); });
            return;
        }
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if ((control == CC_ComboBox || control == CC_ScrollBar) && showsRing(widget) && onScreen(painter, widget))
            paintRing(painter, ringOf(option->rect));
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element == PE_FrameGroupBox) {
            drawGroupBoxFrame(option, painter, widget);
            return;
        }
        // A primitive draws no text: on paper the whole of it goes as a picture.
        if (onPaper(painter)) {
            drawOpaque(painter, option->rect, backdropOf(widget),
                       [&](QPainter *picture) { drawPrimitive(element, option, picture, widget); });
            return;
        }
        // Fusion keeps each button face it draws as a picture, under a key of
        // the button's size, state and palette. Every button has a palette
        // object of its own, so two buttons of one look never share a face:
        // equal palettes are handed over as one, and the twelve seniority
        // options, say, are drawn once.
        if (element == PE_PanelButtonCommand) {
            QStyleOption shared(*option);
            shared.palette = sharedPalette(option->palette);
            QProxyStyle::drawPrimitive(element, &shared, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        if (element != PE_PanelLineEdit || !widget || !onScreen(painter, widget))
            return;
        // The edit field of a combo box covers part of the combo's ring: it
        // draws that part itself.
        if (const auto *combo = qobject_cast<const QComboBox *>(widget->parentWidget());
            combo && combo->lineEdit() == widget) {
            if (showsRing(combo) || showsRing(widget))
                paintRing(painter, ringOf(combo->rect()).intersected(widget->geometry()).translated(-widget->pos()));
            return;
        }
        if (showsRing(widget))
            paintRing(painter, ringOf(option->rect));
    }

private:
    // A group box's frame as Fusion draws it: a picture from Qt's resources
    // with six-pixel corners, stretched to the box. Fusion reads the picture
    // through the image plug-ins, which loads every one of them (and the JPEG
    // library) the first time, and stretches it in one piece, which Qt spreads
    // over a pool of threads it starts for a box this tall. Here the picture
    // is read once by libpng and stretched the same way, but drawn a band at
    // a time, and its middle, all of one colour, is filled rather than
    // stretched. The pixels are Fusion's (a test compares the windows with
    // Fusion's own), and the entry window opens sooner.
    void drawGroupBoxFrame(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
    {
        // The frame starts below the title, or three pixels down in a box
        // with no title and no check box.
        int top = 3;
        if (const auto *box = qobject_cast<const QGroupBox *>(widget);
            !box || box->isCheckable() || !box->title().isEmpty())
            top += std::max(baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height());
        if (groupBoxFrame_.isNull())
            loadGroupBoxFrame();
        const QRect frame = option->rect.adjusted(0, top, 0, 0);
        // Only drawing into pixels spreads the work over threads; paper takes
        // the frame in one piece, with its soft corners laid over the box's
        // own background beforehand.
        if (onPaper(painter)) {
            painter->save();
            painter->setRenderHint(QPainter::LosslessImageRendering);
            qDrawBorderPixmap(painter, frame, kFrameCorners, paperGroupBoxFrame(backdropOf(widget)));
            painter->restore();
            return;
        }
        const QRect middle = frame.marginsRemoved(kFrameCorners);
        const bool fillMiddle = groupBoxMiddle_.isValid() && middle.isValid();
        for (int y = frame.top(); y <= frame.bottom(); y += kFrameBand) {
            painter->save();
            const QRect band(frame.left(), y, frame.width(), kFrameBand);
            if (fillMiddle)
                painter->setClipRegion(QRegion(band).subtracted(middle), Qt::IntersectClip);
            else
                painter->setClipRect(band, Qt::IntersectClip);
            qDrawBorderPixmap(painter, frame, kFrameCorners, groupBoxFrame_);
            painter->restore();
            if (fillMiddle)
                painter->fillRect(middle.intersected(band), groupBoxMiddle_);
        }
    }
    void loadGroupBoxFrame() const
    {
        const QString path = QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png");
        QImage picture;
#ifdef RECIBO_READS_PNG
        picture = readPng(path);
#endif
        if (picture.isNull())
            picture = QImage(path);
        groupBoxFrame_ = QPixmap::fromImage(picture);
        const QRect middle = picture.rect().marginsRemoved(kFrameCorners);
        bool plain = middle.isValid();
        for (int y = middle.top(); plain && y <= middle.bottom(); ++y)
            for (int x = middle.left(); plain && x <= middle.right(); ++x)
                plain = picture.pixel(x, y) == picture.pixel(middle.topLeft());
        groupBoxMiddle_ = plain ? QColor::fromRgba(picture.pixel(middle.topLeft())) : QColor();
    }
    // The frame picture made opaque over `backdrop` (the last one asked for is kept).
    const QPixmap &paperGroupBoxFrame(const QColor &backdrop) const
    {
        if (groupBoxFrame_.isNull())
            loadGroupBoxFrame();
        if (paperFrame_.isNull() || paperBackdrop_ != backdrop) {
            paperFrame_ = QPixmap::fromImage(flattened(groupBoxFrame_.toImage(), backdrop));
            paperBackdrop_ = backdrop;
        }
        return paperFrame_;
    }
    mutable QColor groupBoxMiddle_;
    mutable QPixmap groupBoxFrame_;
    mutable QPixmap paperFrame_;
    mutable QColor paperBackdrop_;

    // The controls Fusion draws with see-through parts; those that draw text
    // are left out, so that text stays text on paper.
    static bool seeThrough(ControlElement element)
    {
        switch (element) {
        case CE_PushButtonBevel:
        case CE_ScrollBarAddLine:
        case CE_ScrollBarSubLine:
        case CE_ScrollBarAddPage:
        case CE_ScrollBarSubPage:
        case CE_ScrollBarSlider:
        case CE_ScrollBarFirst:
        case CE_ScrollBarLast:
        case CE_ProgressBarGroove:
        case CE_ProgressBarContents:
            return true;
        default:
            return false;
        }
    }
    static bool seeThrough(ComplexControl control)
    {
        return control == CC_ScrollBar || control == CC_ComboBox || control == CC_SpinBox || control == CC_Slider;
    }

    // The first palette seen with the same colours as `palette`.
    const QPalette &sharedPalette(const QPalette &palette) const
    {
        for (const QPalette &known : palettes_)
            if (known == palette)
                return known;
        palettes_.push_back(palette);
        return palettes_.back();
    }
    mutable std::deque<QPalette> palettes_; // a handful: one per look of button

protected:
    // Qt hands the style every focus change. A click that moves the focus
    // means the user is on the mouse: the ring goes until the keyboard moves
    // the focus again. Any other move (a window coming back to the front, a
    // field that refused input taking the focus) keeps what there was.
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason) {
            if (QWidget *focus = QApplication::focusWidget())
                focus->window()->setAttribute(Qt::WA_KeyboardFocusChange, false);
        }
        return QProxyStyle::event(event);
    }
};

} // namespace

QStyle *createStyle() { return new FormStyle; }

} // namespace recibo::forms
