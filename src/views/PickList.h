#pragma once
// The pick lists of the filter window: the distinct artists, genres or years
// of the whole collection, and how picked items join a criterion field.
#include <string>
#include <vector>

#include "collection/Udir_obj.h"

class Tm3u;

enum class TPickField { Artist, Genre, Year };

// Every non-empty artist (genre; year above 0 in decimal) of the albums,
// sorted without regard to case and without duplicates; the first spelling
// met stays.
std::vector<std::string> CollectPickList(const Tm3uList& albums, TPickField field);
// The field with the picked items appended as plain terms: joined with ";",
// and separated from earlier content by ";".
std::string AppendPickedItems(const std::string& fieldText, const std::vector<std::string>& items);
