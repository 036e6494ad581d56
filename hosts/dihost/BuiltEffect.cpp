#include "hosts/dihost/BuiltEffect.h"

#include <algorithm>

namespace padhost {

static_assert(sizeof(DIEFFECT) == 56, "the DirectX 6 effect structure on 32-bit Windows");
static_assert(offsetof(DIEFFECT, dwStartDelay) == 52, "the DirectX 5 structure ends before dwStartDelay");
static_assert(kDiepAllParams == DIEP_ALLPARAMS && kDiepStart == DIEP_START && kDiepNoRestart == DIEP_NORESTART &&
                  kDiepTypeSpecific == DIEP_TYPESPECIFICPARAMS && kDiepEnvelope == DIEP_ENVELOPE &&
                  kDiepDirection == DIEP_DIRECTION && kDiepStartDelay == DIEP_STARTDELAY,
              "the host's flags are DirectInput's");
static_assert(kPolar == DIEFF_POLAR && kCartesian == DIEFF_CARTESIAN && kSpherical == DIEFF_SPHERICAL,
              "the host's coordinate flags are DirectInput's");
static_assert(kCommandReset == DISFFC_RESET && kCommandStopAll == DISFFC_STOPALL && kCommandPause == DISFFC_PAUSE &&
                  kCommandContinue == DISFFC_CONTINUE,
              "the host's commands are DirectInput's");

BuiltEffect::BuiltEffect(const EffectSpec& spec, EffectForm form) : effectId_(spec.EffectId) {
    const DWORD axisCount = std::min(spec.AxisCount, kMaxSpecAxes);
    for (DWORD i = 0; i < axisCount; ++i) {
        // DirectInput hands drivers object ids, not data format offsets.
        axes_[i] = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(i);
        directions_[i] = spec.Directions[i];
    }
    effect_.dwSize = form == EffectForm::DirectX6 ? sizeof(DIEFFECT) : offsetof(DIEFFECT, dwStartDelay);
    effect_.dwFlags = spec.Coordinates | DIEFF_OBJECTIDS;
    effect_.dwDuration = spec.Duration;
    effect_.dwSamplePeriod = spec.SamplePeriod;
    effect_.dwGain = spec.Gain;
    effect_.dwTriggerButton = DIEB_NOTRIGGER;
    effect_.dwTriggerRepeatInterval = 0;
    effect_.cAxes = axisCount;
    effect_.rgdwAxes = axisCount ? axes_ : nullptr;
    effect_.rglDirection = axisCount ? directions_ : nullptr;
    if (spec.HasEnvelope) {
        envelope_.dwSize = sizeof(DIENVELOPE);
        envelope_.dwAttackLevel = spec.Envelope.AttackLevel;
        envelope_.dwAttackTime = spec.Envelope.AttackTime;
        envelope_.dwFadeLevel = spec.Envelope.FadeLevel;
        envelope_.dwFadeTime = spec.Envelope.FadeTime;
        effect_.lpEnvelope = &envelope_;
    }
    if (spec.EffectId == kConstant) {
        block_.Constant.lMagnitude = spec.Magnitude;
    } else if (spec.EffectId == kRamp) {
        block_.Ramp.lStart = spec.RampStart;
        block_.Ramp.lEnd = spec.RampEnd;
    } else if (IsPeriodic(spec.EffectId)) {
        block_.Periodic.dwMagnitude = static_cast<DWORD>(spec.Magnitude);
        block_.Periodic.lOffset = spec.Offset;
        block_.Periodic.dwPhase = spec.Phase;
        block_.Periodic.dwPeriod = spec.Period;
    }
    effect_.cbTypeSpecificParams = ParameterBlockSize(spec.EffectId);
    effect_.lpvTypeSpecificParams = effect_.cbTypeSpecificParams ? &block_ : nullptr;
    effect_.dwStartDelay = form == EffectForm::DirectX6 ? spec.StartDelay : kPastTheEndStartDelay;
}

}  // namespace padhost
