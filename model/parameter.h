#pragma once

#include <cstddef>
#include <cstdint>

class PARAMETER_MANAGER;

// Size a caller's text buffer must have for Format and GetUnits.
inline constexpr size_t kParameterTextSize = 64;

// One editable value of the pedal, registered by index in a PARAMETER_MANAGER
// which then owns it. The fields are public because the device link writes
// ranges straight into them when the pedal reports them.
class PARAMETER {
public:
    // Float constructor: value and default are the initial value; isInt false.
    PARAMETER(int32_t index, PARAMETER_MANAGER* manager, float initial, int32_t intMin, int32_t intMax,
              int32_t intAttr, uint8_t typeCode);
    // Integer constructor: intValue is the initial value; isInt true.
    PARAMETER(int32_t index, PARAMETER_MANAGER* manager, int32_t initial, int32_t intMin, int32_t intMax,
              int32_t intAttr, uint8_t typeCode);
    PARAMETER(const PARAMETER&) = delete;
    PARAMETER& operator=(const PARAMETER&) = delete;

    virtual ~PARAMETER();
    virtual void SetValue(float x);
    virtual void SetData(const uint8_t* bytes);
    virtual float GetValue();
    virtual int32_t GetIntValue();
    virtual float GetDefault();
    virtual void NotifyChanged();
    virtual const char* GetName();
    virtual const char* GetLabel();
    // out must hold kParameterTextSize bytes.
    virtual void Format(char* out, int a, int limit);
    virtual void GetUnits(char* out, int a, int limit);
    virtual float ParseString(const char* text);
    virtual void SetRaw(int a);
    virtual void UpdateRaw();
    virtual void SetFromWord(int a);

    float defaultValue = 0.0f;
    PARAMETER_MANAGER* manager = nullptr;
    char name[32] = {};
    int32_t index = 0;
    float value = 0.0f;
    int32_t intValue = 0;
    float minValue = 0.0f;
    float maxValue = 1.0f;
    bool isInt = false;
    char* label = nullptr;
    bool automatable = true;
    int32_t intMin = 0;
    int32_t intMax = 0;
    int32_t intAttr = 0;
    uint8_t typeCode = 0;
    uint8_t scale = 128;
    uint8_t reserved1 = 255;
    uint8_t reserved2 = 255;
    uint8_t mask = 255;
    uint8_t shift = 0;
    uint8_t raw = 0;

private:
    void registerSelf();
};
