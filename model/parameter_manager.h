#pragma once

#include <cstdint>
#include <memory>

#include "model/parameter.h"

// Receives the news that a parameter changed (the parameter-set owner).
class ParameterListener {
public:
    virtual ~ParameterListener() = default;
    virtual void ParameterChanged(int32_t index) = 0;
};

// A fixed-size table of parameters by index. Parameters register themselves
// when constructed; the table owns every registered parameter. Every operation
// checks the index and the slot first: a wrong index is traced and answered with
// a neutral value, never a fault.
class PARAMETER_MANAGER {
public:
    explicit PARAMETER_MANAGER(int32_t maxParameters);
    PARAMETER_MANAGER(const PARAMETER_MANAGER&) = delete;
    PARAMETER_MANAGER& operator=(const PARAMETER_MANAGER&) = delete;
    ~PARAMETER_MANAGER();

    void SetListener(ParameterListener* newListener) { listener = newListener; }

    void SetValue(int32_t index, float x);
    void SetValueRatio(int32_t index, uint8_t a, uint8_t b);
    void SetRaw(int32_t index, int a);
    void SetData(int32_t index, const uint8_t* bytes);
    float GetValue(int32_t index) const;
    uint8_t GetValueAsByte(int32_t index, uint8_t n) const;
    uint8_t GetRaw(int32_t index) const;
    int32_t GetIntValue(int32_t index) const;
    bool IsIntParam(int32_t index) const;
    float GetMin(int32_t index) const;
    float GetMax(int32_t index) const;
    int32_t GetIntMin(int32_t index) const;
    int32_t GetIntMax(int32_t index) const;
    int32_t GetIntAttr(int32_t index) const;
    uint8_t GetTypeCode(int32_t index) const;
    const char* GetName(int32_t index) const;
    const char* GetLabel(int32_t index) const;
    bool IsAutomatable(int32_t index) const;
    // out must hold kParameterTextSize bytes.
    void Format(int32_t index, char* out, int a, int limit) const;
    float ParseString(int32_t index, const char* text) const;

    // Slot bookkeeping used by the parameters' constructors and destructors.
    void Register(int32_t index, PARAMETER* parameter);
    void Unregister(int32_t index, const PARAMETER* parameter);
    void ClearAll();
    void CheckAllRegistered() const;

    // The snapshot: a version byte and one big-endian word per slot. The
    // manager keeps the returned buffer; it stays valid until the next call.
    const uint8_t* GetStateInfoBuffer(int32_t* size);
    bool SetStateInfoBuffer(const uint8_t* bytes, int32_t size);

    // The registered parameter at index, or null (no trace).
    PARAMETER* Find(int32_t index) const;
    int32_t Size() const { return MaxParameters; }
    int32_t StateSize() const { return 2 * MaxParameters + 1; }

    ParameterListener* listener = nullptr;

private:
    PARAMETER* checked(int32_t index, const char* traceFormat) const;

    std::unique_ptr<uint8_t[]> snapshotBuffer;
    int32_t MaxParameters = 0;
    std::unique_ptr<PARAMETER*[]> slots;
};
