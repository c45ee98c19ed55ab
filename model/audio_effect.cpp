#include "model/audio_effect.h"

namespace {

AudioEffect* effectOf(AEffect* record) {
    return record != nullptr ? static_cast<AudioEffect*>(record->object) : nullptr;
}

intptr_t dispatchEntry(AEffect* record, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    AudioEffect* effect = effectOf(record);
    return effect != nullptr ? effect->dispatcher(opcode, index, value, ptr, opt) : 0;
}

void processEntry(AEffect* record, float** inputs, float** outputs, int32_t frames) {
    if (AudioEffect* effect = effectOf(record)) effect->process(inputs, outputs, frames);
}

void processReplacingEntry(AEffect* record, float** inputs, float** outputs, int32_t frames) {
    if (AudioEffect* effect = effectOf(record)) effect->processReplacing(inputs, outputs, frames);
}

void processDoubleEntry(AEffect* record, double** inputs, double** outputs, int32_t frames) {
    if (AudioEffect* effect = effectOf(record)) effect->processDoubleReplacing(inputs, outputs, frames);
}

void setParameterEntry(AEffect* record, int32_t index, float value) {
    if (AudioEffect* effect = effectOf(record)) effect->setParameter(index, value);
}

float getParameterEntry(AEffect* record, int32_t index) {
    AudioEffect* effect = effectOf(record);
    return effect != nullptr ? effect->getParameter(index) : 0.0f;
}

} // namespace

AudioEffect::AudioEffect(HostCallback host, int32_t programs, int32_t parameters) : hostCallback(host) {
    record.magic = kEffectMagic;
    record.dispatcher = dispatchEntry;
    record.process = processEntry;
    record.setParameter = setParameterEntry;
    record.getParameter = getParameterEntry;
    record.numPrograms = programs;
    record.numParams = parameters;
    record.numInputs = 1;
    record.numOutputs = 2;
    record.flags = kEffectFlagCanReplace;
    record.ioRatio = 1.0f;
    record.object = this;
    record.uniqueID = kEffectUniqueId;
    record.version = 1;
    record.processReplacing = processReplacingEntry;
    record.processDoubleReplacing = processDoubleEntry;
}

AudioEffect::~AudioEffect() = default;

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    if (editor != nullptr)
        record.flags |= kEffectFlagHasEditor;
    else
        record.flags &= ~kEffectFlagHasEditor;
}

intptr_t AudioEffect::dispatcher(int32_t, int32_t, intptr_t, void*, float) {
    return 0;
}

void AudioEffect::process(float**, float**, int32_t) {}

void AudioEffect::processReplacing(float**, float**, int32_t) {}

void AudioEffect::processDoubleReplacing(double**, double**, int32_t) {}

void AudioEffect::setParameter(int32_t, float) {}

float AudioEffect::getParameter(int32_t) {
    return 0.0f;
}

void AudioEffect::resume() {}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return hostCallback != nullptr ? hostCallback(&record, opcode, index, value, ptr, opt) : 0;
}

// The pedal editor processes no audio or MIDI: it claims no capability.
int32_t AudioEffectX::canDo(const char*) {
    return 0;
}

void AudioEffectX::resume() {
    // Ask for MIDI when the record says so or the effect can take MIDI; with no
    // host the request goes nowhere.
    if ((record.flags & kEffectFlagReceivesMidi) != 0 || canDo("receiveVstMidiEvent") == 1) {
        constexpr int32_t kHostWantMidi = 6;
        midiRequested = true;
        callHost(kHostWantMidi);
    }
}

CAudioEffect::CAudioEffect(const EditorFactory& makeEditor, HostCallback host) : AudioEffectX(host, 0, 0) {
    if (makeEditor) editorOwned = makeEditor(*this);
    setEditor(editorOwned.get());
}

CAudioEffect::~CAudioEffect() {
    setEditor(nullptr);
    editorOwned.reset();
}
