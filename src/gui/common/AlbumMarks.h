#pragma once
// What the album grid, the folder tree and the track grid draw for an album
// or a track: the status bullet, the picture mark, the tag kind mark, the
// album text in its bold and coloured pieces, and the row colours.  Marks
// are Unicode characters in the desktop's default font; their colours carry
// the meaning.
#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;
class QRect;
class Tm3u;
class Tmp3;
enum class TAlbumStatus : int32_t;
enum class TTagKind : int32_t;

namespace ListColors {
inline const QColor kCurrentRow{0xD1, 0xE6, 0xEF};
inline const QColor kInSelection{0xEE, 0xF5, 0xF9};
inline const QColor kRootRow{0xF5, 0xF5, 0xF5};
inline const QColor kGrey{0x64, 0x64, 0x64};
inline const QColor kArtist{0x00, 0x00, 0x80};
inline const QColor kRoot{0x80, 0x00, 0x00};
}  // namespace ListColors

struct TMark {
    QString text;
    QColor color;
};

// A bullet in the status's colour: red, orange or green.
TMark StatusMark(TAlbumStatus status);
// A green bullet when the album has a picture file, else a dark red cross.
TMark PictureMark(const Tm3u& album);
// A cross for an untagged track, else the tag kind's own mark.
TMark TagKindMark(TTagKind tagKind);
// The check box of the "Sel" column.
QString SelectionMark(bool inSelection);

struct TTextPiece {
    QString text;
    bool bold = false;
    QColor color;
};

// The album text: artist (bold, dark blue), album title, "(year)" in grey;
// without an artist the playlist's file name without its extension, grey
// (bold in the grid, normal in the tree).
std::vector<TTextPiece> AlbumTextPieces(const Tm3u& album, bool boldFileName = true);
QString PlainText(const std::vector<TTextPiece>& pieces);
// Draws the pieces one after the other from the rectangle's left edge,
// vertically centred; returns the width used.
int DrawTextPieces(QPainter& painter, const QRect& rect, const std::vector<TTextPiece>& pieces);
int TextPiecesWidth(const QFont& font, const std::vector<TTextPiece>& pieces);

// The track grid's second column: the position from 1, two digits at least.
QString TrackNumberText(int position);
// A track's title, or its file name (shown grey) when the title is empty.
QString TrackTitleText(const Tmp3& track);
bool TrackTitleIsFileName(const Tmp3& track);

// The file name part of a path without its last four characters (".m3u").
QString NameWithoutExtension(const std::string& path);
// UTF-8 model text as a QString.
QString QStr(const std::string& text);
