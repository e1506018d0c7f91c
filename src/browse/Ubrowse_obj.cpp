#include "browse/Ubrowse_obj.h"

#include <algorithm>

#include "core/IniFile.h"
#include "core/Ucommon.h"
#include "core/Ulang.h"

namespace {
constexpr std::string_view kBrowseSection = "Browse";
constexpr std::string_view kCountKey = "PresetsCount";
constexpr std::string_view kNameKey = "PresetName";

// Reads and writes one preset with the same code, so that the two
// directions cannot drift apart.
class PresetKeys {
  public:
    PresetKeys(const TIniFile* in, TIniFile* out, std::string_view section)
        : in_(in), out_(out), section_(section) {}

    void Integer(const std::string& key, int& value) const {
        if (in_) value = in_->ReadInteger(section_, key, value);
        if (out_) out_->WriteInteger(section_, key, value);
    }
    void Bool(const std::string& key, bool& value) const {
        // Style and flag keys hold 1 for on; anything else is off.
        if (in_) value = in_->ReadBool(section_, key, value);
        if (out_) out_->WriteBool(section_, key, value);
    }
    void Text(const std::string& key, std::string& value) const {
        if (in_) value = in_->ReadString(section_, key, value);
        if (out_) out_->WriteString(section_, key, value);
    }
    void Font(const std::string& prefix, TBrowseFont& font) const {
        Text(prefix + "FontName", font.Name);
        Integer(prefix + "FontSize", font.Size);
        Integer(prefix + "FontColor", font.Color);
        Bool(prefix + "FontBold", font.Bold);
        Bool(prefix + "FontItalic", font.Italic);
        Bool(prefix + "FontUnderline", font.Underline);
    }

  private:
    const TIniFile* in_;
    TIniFile* out_;
    std::string_view section_;
};

void Exchange(TBrowseDetails& d, const PresetKeys& k) {
    k.Integer("Width", d.Width);
    k.Integer("Height", d.Height);
    k.Integer("Space", d.Space);
    k.Integer("BackgroundColor", d.BackgroundColor);
    k.Integer("PanelColor", d.PanelColor);
    k.Integer("SelectedPanelColor", d.SelectedPanelColor);
    k.Integer("InSelectionPanelColor", d.InSelectionPanelColor);
    k.Bool("PanelBorder", d.PanelBorder);
    k.Integer("Artist3DColor", d.Artist3DColor);
    k.Integer("Album3DColor", d.Album3DColor);
    k.Integer("Year3DColor", d.Year3DColor);
    k.Bool("Artist3D", d.Artist3D);
    k.Bool("Album3D", d.Album3D);
    k.Bool("Year3D", d.Year3D);
    k.Font("Artist", d.ArtistFont);
    k.Font("Album", d.AlbumFont);
    k.Font("Year", d.YearFont);
    k.Bool("browseSetListBackColor", d.SetListBackColor);
}

std::string UnnamedPresetName(size_t number) {
    return LangText("PresetName", "Browse mode preset") + " " + std::to_string(number);
}
}  // namespace

std::string BrowsePresetSection(size_t number) {
    return "BrowsePreset_" + std::to_string(number);
}

std::string DefaultBrowsePresetName() {
    return LangText("DefaultBrowsePreset", "* Default *");
}

void TBrowseDetails::Read(const TIniFile& ini, std::string_view section) {
    *this = TBrowseDetails{};
    Exchange(*this, PresetKeys(&ini, nullptr, section));
    Width = std::max(Width, kMinimumSide);
    Height = std::max(Height, kMinimumSide);
    Space = std::max(Space, 0);
}

void TBrowseDetails::Write(TIniFile& ini, std::string_view section) const {
    TBrowseDetails copy = *this;  // Exchange takes the fields by reference
    Exchange(copy, PresetKeys(nullptr, &ini, section));
}

TBrowseDetailsList::TBrowseDetailsList() : presets_{{DefaultBrowsePresetName(), {}}} {}

std::vector<std::string> TBrowseDetailsList::PresetNames() const {
    std::vector<std::string> names;
    for (size_t i = 1; i < presets_.size(); ++i) names.push_back(presets_[i].Name);
    return names;
}

std::optional<size_t> TBrowseDetailsList::Find(std::string_view name) const {
    for (size_t i = 0; i < presets_.size(); ++i)
        if (SameTextAscii(presets_[i].Name, name)) return i;
    return std::nullopt;
}

void TBrowseDetailsList::Load(const TIniFile& ini) {
    const int count =
        std::clamp(ini.ReadInteger(kBrowseSection, kCountKey, 0), 0, kMaximumPresets);
    presets_.clear();
    presets_.push_back({DefaultBrowsePresetName(), {}});
    if (count == 0) return;
    presets_[0].Details.Read(ini, BrowsePresetSection(1));
    for (size_t number = 2; number <= static_cast<size_t>(count); ++number) {
        const std::string section = BrowsePresetSection(number);
        TBrowsePreset preset;
        preset.Name = ini.ReadString(section, kNameKey, UnnamedPresetName(number));
        preset.Details.Read(ini, section);
        presets_.push_back(std::move(preset));
    }
}

void TBrowseDetailsList::Save(TIniFile& ini) const {
    ini.WriteInteger(kBrowseSection, kCountKey, static_cast<int>(presets_.size()));
    for (size_t i = 0; i < presets_.size(); ++i) {
        const std::string section = BrowsePresetSection(i + 1);
        ini.WriteString(section, kNameKey, presets_[i].Name);
        presets_[i].Details.Write(ini, section);
    }
    // A deleted preset's section would come back if the count grew again.
    for (size_t number = presets_.size() + 1;; ++number) {
        const std::string section = BrowsePresetSection(number);
        if (!ini.SectionExists(section)) break;
        ini.EraseSection(section);
    }
}

TBrowsePresetResult TBrowseDetailsList::AddFromCurrent(const std::string& name) {
    if (Find(name)) return TBrowsePresetResult::NameExists;
    presets_.push_back({name, Current()});
    return TBrowsePresetResult::Done;
}

TBrowsePresetResult TBrowseDetailsList::OverwriteWithCurrent(std::optional<size_t> index) {
    if (!IsPreset(index)) return TBrowsePresetResult::NoSelection;
    presets_[*index].Details = Current();
    return TBrowsePresetResult::Done;
}

TBrowsePresetResult TBrowseDetailsList::LoadIntoCurrent(std::optional<size_t> index) {
    if (!IsPreset(index)) return TBrowsePresetResult::NoSelection;
    Current() = presets_[*index].Details;
    return TBrowsePresetResult::Done;
}

TBrowsePresetResult TBrowseDetailsList::Delete(std::optional<size_t> index) {
    if (!IsPreset(index)) return TBrowsePresetResult::NoSelection;
    presets_.erase(presets_.begin() + static_cast<std::ptrdiff_t>(*index));
    return TBrowsePresetResult::Done;
}
