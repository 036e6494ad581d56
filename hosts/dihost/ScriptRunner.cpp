#include "hosts/dihost/ScriptRunner.h"

namespace padhost {

ScriptRunner::ScriptRunner(PadHost& host, DWORD id, const simpad::SimPad& pad, double originMs, FILE* log)
    : host_(host), id_(id), pad_(pad), originMs_(originMs), log_(log) {}

double ScriptRunner::Now() const { return pad_.NowMs() - originMs_; }

void ScriptRunner::WaitUntil(double ms) const {
    for (double left = ms - Now(); left > 0; left = ms - Now()) ::Sleep(left > 2 ? static_cast<DWORD>(left - 1) : 0);
}

void ScriptRunner::Note(const std::string& label) {
    events_.push_back(PlotEvent{Now(), label});
    if (log_) {
        std::fprintf(log_, "%9.1f ms  -- %s\n", events_.back().Ms, label.c_str());
        std::fflush(log_);
    }
}

int ScriptRunner::Run(const Script& script) {
    handles_.assign(script.EffectNames.size(), 0);
    const double start = Now();
    int failures = 0;
    for (const ScriptStep& step : script.Steps) {
        if (step.HasAt) WaitUntil(start + static_cast<double>(step.AtUs) / 1000.0);
        if (step.Kind == StepKind::Wait) {
            WaitUntil(Now() + static_cast<double>(step.WaitUs) / 1000.0);
            continue;
        }
        if (!step.Label.empty()) Note(step.Label);
        const HRESULT hr = Execute(script, step);
        if (FAILED(hr)) {
            ++failures;
            if (!log_) continue;
            if (hr == E_HANDLE)
                std::fprintf(log_, "line %d: %s has no handle to update (never stored, or destroyed)\n", step.Line,
                             script.EffectNames[step.Effect].c_str());
            else
                std::fprintf(log_, "line %d: the driver answered 0x%08lX\n", step.Line, static_cast<unsigned long>(hr));
        }
    }
    return failures;
}

HRESULT ScriptRunner::Execute(const Script& script, const ScriptStep& step) {
    IDirectInputEffectDriver* driver = host_.Driver();
    if (!driver) return E_POINTER;
    DWORD& handle = handles_[step.Effect];
    switch (step.Kind) {
        case StepKind::Download: {
            BuiltEffect effect(step.Shape);
            DWORD fresh = 0;
            const HRESULT hr = host_.Download(id_, effect, &fresh, step.Flags);
            if (SUCCEEDED(hr) && fresh == 0 && log_)
                std::fprintf(log_, "line %d: the driver kept no handle for %s\n", step.Line,
                             script.EffectNames[step.Effect].c_str());
            handle = fresh;
            return hr;
        }
        case StepKind::Update: {
            if (!handle) return E_HANDLE;
            BuiltEffect effect(step.Shape);
            if (step.NullEnvelope) effect.Raw().lpEnvelope = nullptr;
            return host_.Download(id_, effect, &handle, step.Flags);
        }
        case StepKind::Start: return driver->StartEffect(id_, handle, 0, step.Value);
        case StepKind::Stop: return driver->StopEffect(id_, handle);
        case StepKind::Destroy: {
            const HRESULT hr = driver->DestroyEffect(id_, handle);
            handle = 0;
            return hr;
        }
        case StepKind::Command: return driver->SendForceFeedbackCommand(id_, step.Value);
        case StepKind::Gain: return driver->SetGain(id_, step.Value);
        case StepKind::Wait:
        case StepKind::Label: return S_OK;
    }
    return S_OK;
}

}  // namespace padhost
