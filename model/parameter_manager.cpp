#include "model/parameter_manager.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/parameter_rounding.h"
#include "platform/trace.h"

PARAMETER_MANAGER::PARAMETER_MANAGER(int32_t maxParameters)
    : MaxParameters(std::max(maxParameters, 0)), slots(std::make_unique<PARAMETER*[]>(MaxParameters)) {
    std::fill_n(slots.get(), MaxParameters, nullptr);
}

PARAMETER_MANAGER::~PARAMETER_MANAGER() {
    // Each parameter's destructor clears its own slot.
    for (int32_t i = 0; i < MaxParameters; ++i)
        delete slots[i];
}

PARAMETER* PARAMETER_MANAGER::Find(int32_t index) const {
    if (index < 0 || index >= MaxParameters) return nullptr;
    return slots[index];
}

PARAMETER* PARAMETER_MANAGER::checked(int32_t index, const char* traceFormat) const {
    PARAMETER* parameter = Find(index);
    if (parameter == nullptr && traceFormat != nullptr) tovanTrace(traceFormat, index);
    return parameter;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"

void PARAMETER_MANAGER::SetValue(int32_t index, float x) {
    if (PARAMETER* p = Find(index)) p->SetValue(x);
}

void PARAMETER_MANAGER::SetValueRatio(int32_t index, uint8_t a, uint8_t b) {
    // A zero denominator has no ratio to give.
    if (PARAMETER* p = Find(index); p != nullptr && b != 0)
        p->SetValue(static_cast<float>(a) / static_cast<float>(b));
}

void PARAMETER_MANAGER::SetRaw(int32_t index, int a) {
    if (PARAMETER* p = Find(index)) p->SetRaw(a);
}

void PARAMETER_MANAGER::SetData(int32_t index, const uint8_t* bytes) {
    if (PARAMETER* p = Find(index)) p->SetData(bytes);
}

float PARAMETER_MANAGER::GetValue(int32_t index) const {
    PARAMETER* p = checked(index, "invalid param GetValue %d\n");
    return p != nullptr ? p->GetValue() : 0.0f;
}

uint8_t PARAMETER_MANAGER::GetValueAsByte(int32_t index, uint8_t n) const {
    PARAMETER* p = Find(index);
    return p != nullptr ? roundToByte(p->GetValue(), n) : 0;
}

uint8_t PARAMETER_MANAGER::GetRaw(int32_t index) const {
    PARAMETER* p = checked(index, "invalid param GetRaw %d\n");
    return p != nullptr ? p->raw : 0;
}

int32_t PARAMETER_MANAGER::GetIntValue(int32_t index) const {
    PARAMETER* p = checked(index, "invalid param GetIntValue %d\n");
    return p != nullptr ? p->GetIntValue() : 0;
}

bool PARAMETER_MANAGER::IsIntParam(int32_t index) const {
    PARAMETER* p = checked(index, "invalid param IsIntParam %d\n");
    return p != nullptr && p->isInt;
}

float PARAMETER_MANAGER::GetMin(int32_t index) const {
    PARAMETER* p = checked(index, "invalid param GetMin %d\n");
    return p != nullptr ? p->minValue : 0.0f;
}

float PARAMETER_MANAGER::GetMax(int32_t index) const {
    PARAMETER* p = checked(index, "invalid param GetMax %d\n");
    return p != nullptr ? p->maxValue : 1.0f;
}

int32_t PARAMETER_MANAGER::GetIntMin(int32_t index) const {
    PARAMETER* p = Find(index);
    return p != nullptr ? p->intMin : 0;
}

int32_t PARAMETER_MANAGER::GetIntMax(int32_t index) const {
    PARAMETER* p = Find(index);
    return p != nullptr ? p->intMax : 0;
}

int32_t PARAMETER_MANAGER::GetIntAttr(int32_t index) const {
    PARAMETER* p = Find(index);
    return p != nullptr ? p->intAttr : 0;
}

uint8_t PARAMETER_MANAGER::GetTypeCode(int32_t index) const {
    PARAMETER* p = Find(index);
    return p != nullptr ? p->typeCode : 0;
}

const char* PARAMETER_MANAGER::GetName(int32_t index) const {
    PARAMETER* p = Find(index);
    return p != nullptr ? p->GetName() : nullptr;
}

const char* PARAMETER_MANAGER::GetLabel(int32_t index) const {
    PARAMETER* p = Find(index);
    return p != nullptr ? p->GetLabel() : nullptr;
}

bool PARAMETER_MANAGER::IsAutomatable(int32_t index) const {
    PARAMETER* p = Find(index);
    return p != nullptr && p->automatable;
}

void PARAMETER_MANAGER::Format(int32_t index, char* out, int a, int limit) const {
    PARAMETER* p = checked(index, "invalid ::Format %d\n");
    if (p == nullptr) {
        if (out != nullptr) out[0] = '\0';
        return;
    }
    const int span = static_cast<uint8_t>(p->intMax - p->intMin);
    p->Format(out, a, std::min(span, limit));
}

float PARAMETER_MANAGER::ParseString(int32_t index, const char* text) const {
    PARAMETER* p = checked(index, "invalid ::Format %d\n");
    return p != nullptr ? p->ParseString(text) : 0.0f;
}

void PARAMETER_MANAGER::Register(int32_t index, PARAMETER* parameter) {
    if (index < 0 || index >= MaxParameters) {
        tovanTrace("trying to REGISTER beyond MaxParameters --- %d", index);
        return;
    }
    if (slots[index] != nullptr) {
        tovanTrace("\n************ %d ALREADY REGISTERED *********", index);
        return;
    }
    slots[index] = parameter;
}

void PARAMETER_MANAGER::Unregister(int32_t index, const PARAMETER* parameter) {
    if (index < 0 || index >= MaxParameters) {
        tovanTrace("trying to UNREGISTER beyond MaxParameters --- %d", index);
        return;
    }
    // A parameter that lost the slot to an earlier one must not clear it.
    if (slots[index] == nullptr || slots[index] != parameter) {
        tovanTrace("\n************ %d NOT REGISTERED *********", index);
        return;
    }
    slots[index] = nullptr;
}

void PARAMETER_MANAGER::ClearAll() {
    std::fill_n(slots.get(), MaxParameters, nullptr);
}

void PARAMETER_MANAGER::CheckAllRegistered() const {
    int32_t missing = 0;
    for (int32_t i = 0; i < MaxParameters; ++i) {
        if (slots[i] == nullptr) {
            tovanTrace("\nPARAM %d UNREGISTERED", i);
            ++missing;
        }
    }
    tovanTrace("\n\n**** %d of %d PARAMS UNREGISTERED **** \n P.S. OK if this shows one unregistered "
               "(MAX_AUTOMATABLE_PARAMS..)\n",
               missing, MaxParameters);
}

const uint8_t* PARAMETER_MANAGER::GetStateInfoBuffer(int32_t* size) {
    if (size == nullptr) return nullptr;
    *size = StateSize();
    if (!snapshotBuffer) {
        snapshotBuffer = std::make_unique<uint8_t[]>(StateSize());
        tovanTrace("STATE BUFFER\t%p\n", static_cast<void*>(snapshotBuffer.get()));
    }
    uint8_t* out = snapshotBuffer.get();
    out[0] = 1;
    for (int32_t i = 0; i < MaxParameters; ++i) {
        uint16_t word = 0;
        if (PARAMETER* p = slots[i]) {
            const double scaled = static_cast<double>(p->GetValue()) * 65535.0;
            word = static_cast<uint16_t>(
                std::isfinite(scaled) && std::fabs(scaled) < 9.0e18 ? static_cast<int64_t>(scaled) : 0);
            tovanTrace("%d - %f\n", i, static_cast<double>(p->GetValue()));
        }
        out[1 + 2 * i] = static_cast<uint8_t>(word >> 8);
        out[2 + 2 * i] = static_cast<uint8_t>(word & 0xFF);
    }
    tovanTrace("write preset--------------");
    for (int32_t i = 0; i < StateSize(); ++i)
        tovanTrace("%2X", out[i]);
    return out;
}

bool PARAMETER_MANAGER::SetStateInfoBuffer(const uint8_t* bytes, int32_t size) {
    if (bytes == nullptr) {
        tovanTrace("bad call to SetStateInfoBuffer");
        return false;
    }
    if (size != StateSize()) {
        tovanTrace("wrong state size buffer\n");
        return false;
    }
    if (bytes[0] > 1) {
        tovanTrace("wrong state version\n");
        return false;
    }
    tovanTrace("read preset--------------\n");
    for (int32_t i = 0; i < size; ++i)
        tovanTrace("%2X", bytes[i]);
    for (int32_t i = 0; i < MaxParameters; ++i) {
        PARAMETER* p = slots[i];
        if (p == nullptr) continue;
        const uint16_t word = static_cast<uint16_t>(bytes[1 + 2 * i] << 8 | bytes[2 + 2 * i]);
        p->SetValue(static_cast<float>(word / 65535.0));
        tovanTrace("%d - %f\n", i, static_cast<double>(p->GetValue()));
    }
    return true;
}

#pragma GCC diagnostic pop
