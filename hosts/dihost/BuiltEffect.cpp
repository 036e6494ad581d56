#include "hosts/dihost/BuiltEffect.h"

#include <algorithm>

namespace padhost {

#ifndef _WIN64
static_assert(sizeof(DIEFFECT) == 56, "the DirectX 6 effect structure on 32-bit Windows");
static_assert(offsetof(DIEFFECT, dwStartDelay) == 52, "the DirectX 5 structure ends before dwStartDelay");
#endif
static_assert(kDiepAllParams == DIEP_ALLPARAMS && kDiepStart == DIEP_START && kDiepNoRestart == DIEP_NORESTART &&
                  kDiepTypeSpecific == DIEP_TYPESPECIFICPARAMS && kDiepEnvelope == DIEP_ENVELOPE &&
                  kDiepDirection == DIEP_DIRECTION && kDiepStartDelay == DIEP_STARTDELAY,
              "the host's flags are DirectInput's");
static_assert(kPolar == DIEFF_POLAR && kCartesian == DIEFF_CARTESIAN && kSpherical == DIEFF_SPHERICAL,
              "the host's coordinate flags are DirectInput's");
static_assert(kCommandReset == DISFFC_RESET && kCommandStopAll == DISFFC_STOPALL && kCommandPause == DISFFC_PAUSE &&
                  kCommandContinue == DISFFC_CONTINUE,
              "the host's commands are DirectInput's");

BuiltEffect::BuiltEffect(const EffectShape& effectShape, EffectForm form) : effectId_(effectShape.EffectId) {
    const DWORD axisCount = std::min(effectShape.AxisCount, kMaxShapeAxes);
    for (DWORD i = 0; i < axisCount; ++i) {
        // DirectInput hands drivers object ids, not data format offsets.
        axes_[i] = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(i);
        directions_[i] = effectShape.Directions[i];
    }
    effect_.dwSize = form == EffectForm::DirectX6 ? sizeof(DIEFFECT) : offsetof(DIEFFECT, dwStartDelay);
    effect_.dwFlags = effectShape.Coordinates | DIEFF_OBJECTIDS;
    effect_.dwDuration = effectShape.Duration;
    effect_.dwSamplePeriod = effectShape.SamplePeriod;
    effect_.dwGain = effectShape.Gain;
    effect_.dwTriggerButton = DIEB_NOTRIGGER;
    effect_.dwTriggerRepeatInterval = 0;
    effect_.cAxes = axisCount;
    effect_.rgdwAxes = axisCount ? axes_ : nullptr;
    effect_.rglDirection = axisCount ? directions_ : nullptr;
    if (effectShape.HasEnvelope) {
        envelope_.dwSize = sizeof(DIENVELOPE);
        envelope_.dwAttackLevel = effectShape.Envelope.AttackLevel;
        envelope_.dwAttackTime = effectShape.Envelope.AttackTime;
        envelope_.dwFadeLevel = effectShape.Envelope.FadeLevel;
        envelope_.dwFadeTime = effectShape.Envelope.FadeTime;
        effect_.lpEnvelope = &envelope_;
    }
    if (effectShape.EffectId == kConstant) {
        block_.Constant.lMagnitude = effectShape.Magnitude;
    } else if (effectShape.EffectId == kRamp) {
        block_.Ramp.lStart = effectShape.RampStart;
        block_.Ramp.lEnd = effectShape.RampEnd;
    } else if (IsPeriodic(effectShape.EffectId)) {
        block_.Periodic.dwMagnitude = static_cast<DWORD>(effectShape.Magnitude);
        block_.Periodic.lOffset = effectShape.Offset;
        block_.Periodic.dwPhase = effectShape.Phase;
        block_.Periodic.dwPeriod = effectShape.Period;
    }
    effect_.cbTypeSpecificParams = ParameterBlockSize(effectShape.EffectId);
    effect_.lpvTypeSpecificParams = effect_.cbTypeSpecificParams ? &block_ : nullptr;
    effect_.dwStartDelay = form == EffectForm::DirectX6 ? effectShape.StartDelay : kPastTheEndStartDelay;
}

}  // namespace padhost
