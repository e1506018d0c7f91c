#pragma once
// Paints one cover panel of the wall: its colour and border, the cover
// scaled into the top of the panel, the three text lines (raised with
// their highlight colour when the look asks for it) and the selection mark.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include "browse/Ubrowse_obj.h"

class QPainter;
class QRect;
class QWidget;
class Tm3u;

QColor ToQColor(TBrowseColor color);
TBrowseColor FromQColor(const QColor& color);
// The font of a text line; a font name the system lacks falls back to the
// desktop's own font (sans serif, or fixed for the "Courier" names).
QFont ToQFont(const TBrowseFont& font);
TBrowseFont FromQFont(const QFont& font, TBrowseColor color);

// A text line of the look: font, colour, and the raised effect.
struct TBrowseLineStyle {
    QFont font;
    QColor color;
    bool raised = false;
    QColor highlight;
};
// Draws `text` centred in `rect`, cut with "..." when too long; raised text
// gets its highlight one pixel below and right of it.
void DrawBrowseLine(QPainter& painter, const QRect& rect, const QString& text,
                    const TBrowseLineStyle& style);

// What a panel shows; `cover` is the decoded picture, `scaled` its copy at
// the size it was last painted (kept so that a repaint scales nothing).
struct TCoverPanel {
    Tm3u* album = nullptr;  // the album shown (its link)
    QString artist, title, year;
    QImage cover;
    QImage scaled;
    QColor colour;
    bool visible = false;
    int mark = 0;  // 0 none, 1 unticked, 2 ticked
};

struct TBrowsePanelStyle {
    bool border = true;
    TBrowseLineStyle artist, album, year;
};
TBrowsePanelStyle PanelStyleOf(const TBrowseDetails& details);

// Paints the panel at `rect` of `widget` (whose device pixel ratio the
// scaled cover follows).
void PaintCoverPanel(QPainter& painter, QWidget& widget, const QRect& rect, TCoverPanel& panel,
                     const TBrowsePanelStyle& style);
