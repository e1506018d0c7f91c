#pragma once
// Music modules (MOD, S3M, XM, IT and the other tracker formats) rendered by
// libopenmpt.
#include <memory>
#include <string>

#include "player/Decoder.h"

struct openmpt_module;

class TModuleDecoder : public TDecoder {
  public:
    // Reads the whole file; throws TSoundError when it is not a module.
    TModuleDecoder(const std::string& path, TInterpolation quality);
    ~TModuleDecoder() override;

    // True when the first bytes of the file look like a module, so that a
    // large audio file is never read whole only to be refused.
    static bool LooksLikeModule(const std::string& path);

    size_t Read(float* out, size_t frames) override;
    void SeekMs(int64_t ms) override;
    int64_t LengthMs() const override { return lengthMs_; }
    int NumOrders() const override { return numOrders_; }
    int CurrentOrder() const override;
    void SeekOrder(int order) override;

    // 1 MOD, 2 S3M, 3 XM, 4 IT, 0 any other kind.
    int Type() const { return type_; }
    // Narrows the stereo image (0 mono ... 1 full), as old Amiga-style
    // modules sound harsh with hard-panned channels.  MOD and S3M files
    // open with kOldModuleSeparation.
    void SetStereoSeparation(double fraction);
    static constexpr double kOldModuleSeparation = 0.15;

  private:
    openmpt_module* module_ = nullptr;
    int64_t lengthMs_ = 0;
    int numOrders_ = 0;
    int type_ = 0;
};
