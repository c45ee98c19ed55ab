#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// The effect object is organised like an audio plug-in with an editor, so the
// editor and the parameter model could also sit in a plug-in host. In this
// program the only host is the standalone window, which uses construction, the
// editor and destruction.

class AudioEffect;

// The plug-in record a host sees: a fixed layout of entries and numbers.
struct AEffect {
    using Dispatcher = intptr_t (*)(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt);
    using Process = void (*)(AEffect*, float** inputs, float** outputs, int32_t frames);
    using SetParameter = void (*)(AEffect*, int32_t index, float value);
    using GetParameter = float (*)(AEffect*, int32_t index);
    using ProcessDouble = void (*)(AEffect*, double** inputs, double** outputs, int32_t frames);

    int32_t magic = 0;
    Dispatcher dispatcher = nullptr;
    Process process = nullptr;
    SetParameter setParameter = nullptr;
    GetParameter getParameter = nullptr;
    int32_t numPrograms = 0;
    int32_t numParams = 0;
    int32_t numInputs = 0;
    int32_t numOutputs = 0;
    int32_t flags = 0;
    int32_t reserved1 = 0;
    int32_t reserved2 = 0;
    int32_t initialDelay = 0;
    int32_t realQualities = 0;
    int32_t offQualities = 0;
    float ioRatio = 1.0f;
    void* object = nullptr;
    void* user = nullptr;
    int32_t uniqueID = 0;
    int32_t version = 0;
    Process processReplacing = nullptr;
    ProcessDouble processDoubleReplacing = nullptr;
    uint8_t future[56] = {};
};

constexpr int32_t fourCharacterCode(char a, char b, char c, char d) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(b) << 16 |
                                static_cast<uint32_t>(c) << 8 | static_cast<uint32_t>(d));
}

inline constexpr int32_t kEffectMagic = fourCharacterCode('V', 's', 't', 'P');
inline constexpr int32_t kEffectUniqueId = fourCharacterCode('N', 'o', 'E', 'f');
inline constexpr int32_t kEffectFlagHasEditor = 0x1;
inline constexpr int32_t kEffectFlagCanReplace = 0x10;
inline constexpr int32_t kEffectFlagReceivesMidi = 0x100;

// The host's request function; none in this program, so every request answers 0.
using HostCallback = intptr_t (*)(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt);

// An effect's editor: the window the host shows for it.
class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;
    virtual bool open(void* window) {
        systemWindow = window;
        return true;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual void idle() {}

    AudioEffect* effect;
    void* systemWindow = nullptr;
};

class AudioEffect {
public:
    AudioEffect(HostCallback host, int32_t programs, int32_t parameters);
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;
    virtual ~AudioEffect();

    AEffect* getAeffect() { return &record; }
    AEffEditor* getEditor() const { return editor; }
    // Attaches an editor (not owned here) and announces it in the record.
    void setEditor(AEffEditor* newEditor);

    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    virtual void process(float** inputs, float** outputs, int32_t frames);
    virtual void processReplacing(float** inputs, float** outputs, int32_t frames);
    virtual void processDoubleReplacing(double** inputs, double** outputs, int32_t frames);
    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);
    virtual void resume();
    // Asks the host; answers 0 without one.
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    float sampleRate = 44100.0f;
    int32_t blockSize = 1024;

protected:
    HostCallback hostCallback;
    AEffEditor* editor = nullptr;
    AEffect record;
};

class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;
    // 1 for capabilities the effect has, 0 when unknown, -1 when not.
    virtual int32_t canDo(const char* text);
    void resume() override;
    bool wantsMidi() const { return midiRequested; }

private:
    bool midiRequested = false;
};

// The application's effect: it owns the editor, which the given factory makes.
class CAudioEffect : public AudioEffectX {
public:
    using EditorFactory = std::function<std::unique_ptr<AEffEditor>(CAudioEffect&)>;

    explicit CAudioEffect(const EditorFactory& makeEditor, HostCallback host = nullptr);
    ~CAudioEffect() override;

    AEffEditor* ownedEditor() const { return editorOwned.get(); }

private:
    std::unique_ptr<AEffEditor> editorOwned;
};
