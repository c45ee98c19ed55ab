#include "link/tovan_process.h"

#include "model/pedal_parameters.h"

TovanProcess::TovanProcess(tovan::HidBackend& backend, PedalView* view)
    : exchangePart(state), sessionPart(*this, state, backend), identityPart(*this, state),
      valuesPart(*this, state), presetsPart(*this, state), menusPart(*this, state), slotsPart(*this, state),
      setlistsPart(*this, state), backupPart(*this, state), filesPart(*this, state),
      firmwarePart(state, exchangePart) {
    state.view = view;
}

TovanProcess::~TovanProcess() {
    state.current.close();
    state.attached.clear();
}

void TovanProcess::BuildParameters() {
    parameterManager = buildPedalParameterSet(this);
}
