#include "views/PickList.h"

#include "collection/Um3u_obj.h"
#include "views/TextCollator.h"

namespace {
std::string PickValue(const Tm3u& album, TPickField field) {
    switch (field) {
        case TPickField::Artist:
            return album.Artist;
        case TPickField::Genre:
            return album.Genre;
        case TPickField::Year:
            break;
    }
    return album.Year > 0 ? std::to_string(album.Year) : std::string();
}
}  // namespace

std::vector<std::string> CollectPickList(const Tm3uList& albums, TPickField field) {
    std::vector<std::string> values;
    for (const auto& entry : albums) {
        std::string value = PickValue(*entry.object, field);
        if (!value.empty()) values.push_back(std::move(value));
    }
    SortUniqueIgnoringCase(values, TTextCollator());
    return values;
}

std::string AppendPickedItems(const std::string& fieldText, const std::vector<std::string>& items) {
    if (items.empty()) return fieldText;
    std::string text = fieldText;
    for (const auto& item : items) {
        if (!text.empty()) text += ';';
        text += item;
    }
    return text;
}
