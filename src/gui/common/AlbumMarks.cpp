#include "gui/common/AlbumMarks.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include "collection/Um3u_obj.h"
#include "core/FileSystem.h"

namespace {
const QString kBullet = QString(QChar(0x25CF));
const QString kCross = QString(QChar(0x00D7));
}  // namespace

QString QStr(const std::string& text) {
    return QString::fromStdString(text);
}

TMark StatusMark(TAlbumStatus status) {
    switch (status) {
        case TAlbumStatus::Orange:
            return {kBullet, QColor(0xFF, 0xC4, 0x88)};
        case TAlbumStatus::Green:
            return {kBullet, QColor(0x00, 0x80, 0x00)};
        default:
            return {kBullet, QColor(0xFF, 0x00, 0x00)};
    }
}

TMark PictureMark(const Tm3u& album) {
    if (!album.PictureFile().empty()) return {kBullet, QColor(0x00, 0x80, 0x00)};
    return {kCross, QColor(0x80, 0x00, 0x00)};
}

TMark TagKindMark(TTagKind tagKind) {
    switch (tagKind) {
        case TTagKind::ID3v1:
            return {QString(QChar(0x278A)), QColor(0x00, 0x80, 0x00)};  // negative circled 1
        case TTagKind::ID3v2:
            return {QString(QChar(0x278B)), QColor(0x00, 0x00, 0xFF)};  // negative circled 2
        case TTagKind::OggVorbis:
            // A fisheye: the default fonts have no negative circled digit zero.
            return {QString(QChar(0x25C9)), QColor(0x80, 0x00, 0x00)};
        case TTagKind::WMA:
            return {QString(QChar(0x229E)), QColor(0x80, 0x00, 0x80)};  // a window symbol
        case TTagKind::Flac:
            return {QString(QChar(0x25C6)), QColor(0x00, 0x80, 0x80)};  // a diamond
        case TTagKind::Opus:
            return {QString(QChar(0x25B2)), QColor(0x80, 0x40, 0x00)};  // a triangle
        case TTagKind::Mp4:
            return {QString(QChar(0x25A0)), QColor(0x40, 0x40, 0x40)};  // a square
        default:
            return {kCross, QColor(0x80, 0x00, 0x00)};
    }
}

QString SelectionMark(bool inSelection) {
    return QString(QChar(inSelection ? 0x2611 : 0x2610));  // ballot box (with check)
}

QString NameWithoutExtension(const std::string& path) {
    const QString name = QStr(ExtractFileName(path));
    return name.left(std::max<qsizetype>(0, name.size() - 4));
}

std::vector<TTextPiece> AlbumTextPieces(const Tm3u& album, bool boldFileName) {
    if (album.Artist.empty())
        return {{NameWithoutExtension(album.PlaylistPath), boldFileName, ListColors::kGrey}};
    std::vector<TTextPiece> pieces{{QStr(album.Artist) + ' ', true, ListColors::kArtist},
                                   {QStr(album.Album) + ' ', false, Qt::black}};
    if (album.Year > 0)
        pieces.push_back({'(' + QString::number(album.Year) + ')', false, ListColors::kGrey});
    return pieces;
}

QString PlainText(const std::vector<TTextPiece>& pieces) {
    QString text;
    for (const auto& piece : pieces) text += piece.text;
    return text;
}

namespace {
QFont PieceFont(const QFont& base, const TTextPiece& piece) {
    QFont font = base;
    font.setBold(piece.bold);
    return font;
}
}  // namespace

int TextPiecesWidth(const QFont& font, const std::vector<TTextPiece>& pieces) {
    int width = 0;
    for (const auto& piece : pieces)
        width += QFontMetrics(PieceFont(font, piece)).horizontalAdvance(piece.text);
    return width;
}

int DrawTextPieces(QPainter& painter, const QRect& rect, const std::vector<TTextPiece>& pieces) {
    const QFont base = painter.font();
    int x = rect.left();
    for (const auto& piece : pieces) {
        if (x >= rect.right()) break;
        const QFont font = PieceFont(base, piece);
        painter.setFont(font);
        painter.setPen(piece.color);
        const QRect area(x, rect.top(), rect.right() - x + 1, rect.height());
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, piece.text);
        x += QFontMetrics(font).horizontalAdvance(piece.text);
    }
    painter.setFont(base);
    return x - rect.left();
}

QString TrackNumberText(int position) {
    return QString::number(position).rightJustified(2, '0');
}

bool TrackTitleIsFileName(const Tmp3& track) {
    return track.Title.empty();
}

QString TrackTitleText(const Tmp3& track) {
    return TrackTitleIsFileName(track) ? QStr(ExtractFileName(track.Path)) : QStr(track.Title);
}
