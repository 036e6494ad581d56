#include "EffectConversion.h"

namespace padforce {

#ifndef _WIN64
static_assert(sizeof(DIEFFECT) == 56 && offsetof(DIEFFECT, dwStartDelay) == 52,
              "the DirectX 6 effect structure on 32-bit Windows");
#endif
static_assert(sizeof(DIENVELOPE) == sizeof(ff::EnvelopeBlock), "envelopes are copied whole");

HRESULT ConvertEffect(const DIEFFECT& e, DWORD flags, bool creating, ff::EffectParams& out) {
    if (e.dwSize < kEffectSizeDx5) return E_INVALIDARG;
    const bool readAxes = creating || (flags & ff::kParamAxes);
    const bool readDirections = creating || (flags & ff::kParamDirection);
    const bool readBlock = creating || (flags & ff::kParamTypeSpecific);
    if ((readAxes || readDirections) && e.cAxes > ff::kMaxAxes) return E_INVALIDARG;
    if (readAxes && e.cAxes > 0 && !e.rgdwAxes) return E_INVALIDARG;
    if (readDirections && e.cAxes > 0 && !e.rglDirection) return E_INVALIDARG;
    if (readBlock && e.cbTypeSpecificParams > 0 && !e.lpvTypeSpecificParams) return E_INVALIDARG;

    out = ff::EffectParams{};
    out.Flags = e.dwFlags;
    out.Duration = e.dwDuration;
    out.SamplePeriod = e.dwSamplePeriod;
    out.Gain = e.dwGain;
    out.AxisCount = e.cAxes;
    for (DWORD i = 0; i < e.cAxes && i < ff::kMaxAxes; ++i) {
        if (readAxes) out.Axes[i] = e.rgdwAxes[i];
        if (readDirections) out.Directions[i] = e.rglDirection[i];
    }
    out.Envelope = reinterpret_cast<const ff::EnvelopeBlock*>(e.lpEnvelope);
    out.StartDelay = e.dwSize >= kEffectSizeDx6 ? e.dwStartDelay : 0;
    if (readBlock) {
        out.TypeSpecificSize = e.cbTypeSpecificParams;
        out.TypeSpecific = e.lpvTypeSpecificParams;
    }
    return S_OK;
}

}  // namespace padforce
