#pragma once
// JSON text for the command-line tool's --json outputs.
#include <cstdint>
#include <string>
#include <string_view>

class Tmp3;

// The text as a quoted JSON string.  Bytes that are not valid UTF-8 are taken
// as Windows-1252, so the output is always valid JSON.
std::string JsonString(std::string_view text);

// One JSON object built member by member, in the order the members are added.
class TJsonObject {
  public:
    void Add(std::string_view name, std::string_view text) { Raw(name, JsonString(text)); }
    void Add(std::string_view name, int64_t number) { Raw(name, std::to_string(number)); }
    // Written with three decimals.
    void Add(std::string_view name, double number);
    // A value that is JSON text already (an array, another object).
    void Raw(std::string_view name, std::string_view json);
    std::string Text() const { return "{" + members_ + "}"; }

  private:
    std::string members_;
};

// The track's tag values: title, artist, album, genre and year, in that order.
void AddTagValues(TJsonObject& json, const Tmp3& track);
