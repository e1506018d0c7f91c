#pragma once
// Stream values and descriptive texts from the header of a Windows Media
// Audio (ASF) file.  Read only.  Texts are UTF-8 in memory.
#include <cstdint>
#include <string>
#include <string_view>

class TByteSource;

class TWMAfile {
  public:
    bool Valid = false;  // the stream values passed the plausibility test
    int64_t FileSize = 0;
    uint8_t Channels = 0;
    int32_t SampleRate = 0;
    double Duration = 0;  // seconds: file size * 8 / maximum bit rate
    int32_t BitRate = 0;  // kbit/s
    std::string Title;    // content description title, or WM/TITLE when it comes later
    std::string Artist;   // content description author, or WM/AUTHOR
    std::string Album;
    int32_t Track = 0;
    std::string Year;
    std::string Genre;
    std::string Comment;

    void Clear();
    // False when the file cannot be read; true otherwise, also for data that
    // is not ASF (Valid is then false).  A damaged header ends the reading
    // where the damage begins.
    bool Load(const std::string& path);
    bool Load(const TByteSource& source);

  private:
    struct Stream {
        uint32_t maxBitRate = 0;
        uint32_t channels = 0;
        uint32_t sampleRate = 0;
        uint32_t bytesPerSecond = 0;
        bool haveAudio = false;
    };
    struct Texts {
        std::string title, artist, album, track, trackNumber, year, genre, comment;
    };
    static void ReadObject(std::string_view object, Stream& stream, Texts& texts);
    static void ReadContentDescription(std::string_view object, Texts& texts);
    static void ReadExtendedDescription(std::string_view object, Texts& texts);
};
