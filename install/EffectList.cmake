# The effect list DirectInput reads under the OEM type's
# "OEMForceFeedback\Effects" key: one entry per effect type that padforce
# plays, each mapped to the driver effect id that selects its waveform.
# The "Attributes" bytes are packed from these fields by RegistryText.cmake.

# DIEFFECTATTRIBUTES.dwEffType
set(DIEFT_CONSTANTFORCE 0x01)
set(DIEFT_RAMPFORCE 0x02)
set(DIEFT_PERIODIC 0x03)
set(DIEFT_FFATTACK 0x200)
set(DIEFT_FFFADE 0x400)
set(DIEFT_STARTDELAY 0x8000)

# DIEP_* parameters
set(DIEP_DURATION 0x001)
set(DIEP_GAIN 0x004)
set(DIEP_AXES 0x020)
set(DIEP_DIRECTION 0x040)
set(DIEP_ENVELOPE 0x080)
set(DIEP_TYPESPECIFICPARAMS 0x100)
set(DIEP_STARTDELAY 0x200)

# DIEFF_* coordinates
set(DIEFF_CARTESIAN 0x10)
set(DIEFF_POLAR 0x20)

# What the driver does with every kind it plays: the envelope's attack and
# fade and the start delay shape the level; duration, gain, direction (over
# the axes given) and the kind's own block are read. It applies each of them
# to an effect that is playing, so all are dynamic. The sample period and the
# trigger are stored or dropped but never acted on, and spherical directions
# split evenly, so none of those is claimed.
set(PAD_EFFECT_CAPS "${DIEFT_FFATTACK} | ${DIEFT_FFFADE} | ${DIEFT_STARTDELAY}")
set(PAD_EFFECT_PARAMS
    "${DIEP_DURATION} | ${DIEP_GAIN} | ${DIEP_AXES} | ${DIEP_DIRECTION} | ${DIEP_ENVELOPE} | ${DIEP_TYPESPECIFICPARAMS} | ${DIEP_STARTDELAY}")
set(PAD_EFFECT_DYNAMIC "${PAD_EFFECT_PARAMS}")
set(PAD_EFFECT_COORDS "${DIEFF_CARTESIAN} | ${DIEFF_POLAR}")

# name; DirectInput GUID; friendly name; driver effect id; effect type
set(PAD_EFFECTS
    "ConstantForce|{13541C20-8E33-11D0-9AD0-00A0C9A06E35}|Constant Force|0|${DIEFT_CONSTANTFORCE}"
    "RampForce|{13541C21-8E33-11D0-9AD0-00A0C9A06E35}|Ramp Force|1|${DIEFT_RAMPFORCE}"
    "Square|{13541C22-8E33-11D0-9AD0-00A0C9A06E35}|Square Wave|2|${DIEFT_PERIODIC}"
    "Sine|{13541C23-8E33-11D0-9AD0-00A0C9A06E35}|Sine Wave|3|${DIEFT_PERIODIC}"
    "Triangle|{13541C24-8E33-11D0-9AD0-00A0C9A06E35}|Triangle Wave|4|${DIEFT_PERIODIC}"
    "SawtoothUp|{13541C25-8E33-11D0-9AD0-00A0C9A06E35}|Sawtooth Up Wave|5|${DIEFT_PERIODIC}"
    "SawtoothDown|{13541C26-8E33-11D0-9AD0-00A0C9A06E35}|Sawtooth Down Wave|6|${DIEFT_PERIODIC}")
