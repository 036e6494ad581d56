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

BuiltEffect::BuiltEffect(const EffectSpec& effectSpec, EffectForm form) : effectId_(effectSpec.EffectId) {
    const DWORD axisCount = std::min(effectSpec.AxisCount, kMaxSpecAxes);
    for (DWORD i = 0; i < axisCount; ++i) {
        // DirectInput hands drivers object ids, not data format offsets.
        axes_[i] = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(i);
        directions_[i] = effectSpec.Directions[i];
    }
    effect_.dwSize = form == EffectForm::DirectX6 ? sizeof(DIEFFECT) : offsetof(DIEFFECT, dwStartDelay);
    effect_.dwFlags = effectSpec.Coordinates | DIEFF_OBJECTIDS;
    effect_.dwDuration = effectSpec.Duration;
    effect_.dwSamplePeriod = effectSpec.SamplePeriod;
    effect_.dwGain = effectSpec.Gain;
    effect_.dwTriggerButton = DIEB_NOTRIGGER;
    effect_.dwTriggerRepeatInterval = 0;
    effect_.cAxes = axisCount;
    effect_.rgdwAxes = axisCount ? axes_ : nullptr;
    effect_.rglDirection = axisCount ? directions_ : nullptr;
    if (effectSpec.HasEnvelope) {
        envelope_.dwSize = sizeof(DIENVELOPE);
        envelope_.dwAttackLevel = effectSpec.Envelope.AttackLevel;
        envelope_.dwAttackTime = effectSpec.Envelope.AttackTime;
        envelope_.dwFadeLevel = effectSpec.Envelope.FadeLevel;
        envelope_.dwFadeTime = effectSpec.Envelope.FadeTime;
        effect_.lpEnvelope = &envelope_;
    }
    if (effectSpec.EffectId == kConstant) {
        block_.Constant.lMagnitude = effectSpec.Magnitude;
    } else if (effectSpec.EffectId == kRamp) {
        block_.Ramp.lStart = effectSpec.RampStart;
        block_.Ramp.lEnd = effectSpec.RampEnd;
    } else if (IsPeriodic(effectSpec.EffectId)) {
        block_.Periodic.dwMagnitude = static_cast<DWORD>(effectSpec.Magnitude);
        block_.Periodic.lOffset = effectSpec.Offset;
        block_.Periodic.dwPhase = effectSpec.Phase;
        block_.Periodic.dwPeriod = effectSpec.Period;
    }
    effect_.cbTypeSpecificParams = ParameterBlockSize(effectSpec.EffectId);
    effect_.lpvTypeSpecificParams = effect_.cbTypeSpecificParams ? &block_ : nullptr;
    effect_.dwStartDelay = form == EffectForm::DirectX6 ? effectSpec.StartDelay : kPastTheEndStartDelay;
}

}  // namespace padhost
