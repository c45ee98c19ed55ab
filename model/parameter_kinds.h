#pragma once

#include <memory>
#include <string>

#include "model/parameter.h"

// On/off values and small enumerations that arrive as bit fields of a raw byte.
class PARAMETER_SWITCH : public PARAMETER {
public:
    PARAMETER_SWITCH(int32_t index, PARAMETER_MANAGER* manager, float initial, int32_t intMin, int32_t intMax,
                     int32_t intAttr = 1);
    ~PARAMETER_SWITCH() override;
    void SetRaw(int a) override;
    void UpdateRaw() override;
};

// A fixed-length text of 16 bytes without terminator, such as the pedal's name.
class PARAMETER_FIXEDSTRING : public PARAMETER {
public:
    static constexpr uint16_t kLength = 16;

    PARAMETER_FIXEDSTRING(int32_t index, PARAMETER_MANAGER* manager);
    ~PARAMETER_FIXEDSTRING() override;
    // Copies exactly 16 bytes.
    void SetData(const uint8_t* bytes) override;
    // Writes the 16 bytes and a terminating zero: out must hold at least 17 bytes.
    void Format(char* out, int a, int limit) override;
    // Takes the text's bytes up to its terminator (at most 16), zero-filling the rest.
    float ParseString(const char* text) override;

    const uint8_t* data() const { return buffer.get(); }
    uint16_t length = kLength;

private:
    std::unique_ptr<uint8_t[]> buffer;
};

// An unsigned byte; value is normalised as intValue / scale.
class PARAMETER_GENERIC_BYTEu : public PARAMETER {
public:
    PARAMETER_GENERIC_BYTEu(int32_t index, PARAMETER_MANAGER* manager, float initial, int32_t intValue,
                            uint8_t scale, int32_t intMin = 0, int32_t intMax = 0, int32_t intAttr = 1);
    ~PARAMETER_GENERIC_BYTEu() override;
    void SetValue(float x) override;
    void Format(char* out, int a, int limit) override;
    float ParseString(const char* text) override;
    void SetRaw(int a) override;
};

// A signed integer device field; value holds the plain integer as a float.
class PARAMETER_GENERIC_INT32s : public PARAMETER {
public:
    PARAMETER_GENERIC_INT32s(int32_t index, PARAMETER_MANAGER* manager, float initial = 0.0f);
    ~PARAMETER_GENERIC_INT32s() override;
    void SetValue(float x) override;
    void Format(char* out, int a, int limit) override;
    // Returns a plain value (not normalised), clamped to the range.
    float ParseString(const char* text) override;
    void SetFromWord(int a) override;

    // Shows step × intValue with a printf format, e.g. (0.1, "%.1f") for tenths.
    void SetDisplayFormat(float step, const char* format);

    bool hasDisplayFormat = false;
    float displayStep = 0.0f;
    std::string displayFormat;
};
