#pragma once
// The Options command: opens the options window over a copy of the
// settings and, once it is closed, takes its values back and applies what
// changed, in a fixed order: window style, spectrum, cover position, sound
// output (only when a sound value changed), cached covers, play statistics
// and, when a chart or the folder tree depends on the change, the views.
#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "player/SoundSystem.h"
#include "views/OptionEffects.h"

class TFormConfig;
class TPrompts;
class TSession;
class TShellPort;
struct TSettings;

// What the other subsystems do for the options; an empty one does nothing.
struct TOptionsHooks {
    // The sound layer's output types and the devices of one of them.
    std::function<std::vector<std::string>()> outputTypes;
    std::function<std::vector<std::string>(int outputType)> driverNames;
    // The player's spectrum area shown or hidden.
    std::function<void(bool)> showSpectrum;
    // The details panel lays its picture out again from "CoverPos".
    std::function<void()> placeCover;
    // Stops, closes and sets up the sound output again; it reports its own
    // failures.
    std::function<void(const TSoundSetup&)> reinitSound;
    // The view list rebuilt, the grid refilled and the browse view refreshed.
    std::function<void()> rebuildViews;
};

class TOptionsController : public QObject {
    Q_OBJECT
  public:
    TOptionsController(TSession& session, TShellPort& shell, TPrompts& prompts,
                       TOptionsHooks hooks = {});
    ~TOptionsController() override;

    TFormConfig* Window() const { return form_.get(); }
    // ActionEditOptionsExecute: the window, modally, then Apply.
    void Run();
    // Takes the window's values into the settings and applies the changes.
    void Apply(const TSettings& values, const TOptionMarks& marks);

  signals:
    // Every album dropped its cached cover: whatever shows covers forgets
    // the pictures it made from them and draws again.
    void cachedCoversDropped();

  private:
    void ApplyWindow(const TSettings& values);
    void ApplySound(const TSettings& values, const TOptionMarks& marks);
    void ApplyCovers(const TSettings& values, const TOptionMarks& marks);
    void ApplyPlayStatistics(const TOptionMarks& marks);
    void SetStayOnTop(bool on);

    TSession& session_;
    TShellPort& shell_;
    TPrompts& prompts_;
    TOptionsHooks hooks_;
    std::unique_ptr<TFormConfig> form_;
};
