#include "model/parameter.h"

#include "model/parameter_manager.h"
#include "platform/trace.h"

PARAMETER::PARAMETER(int32_t index, PARAMETER_MANAGER* manager, float initial, int32_t intMin, int32_t intMax,
                     int32_t intAttr, uint8_t typeCode)
    : defaultValue(initial), manager(manager), index(index), value(initial), isInt(false), intMin(intMin),
      intMax(intMax), intAttr(intAttr), typeCode(typeCode) {
    registerSelf();
}

PARAMETER::PARAMETER(int32_t index, PARAMETER_MANAGER* manager, int32_t initial, int32_t intMin,
                     int32_t intMax, int32_t intAttr, uint8_t typeCode)
    : manager(manager), index(index), intValue(initial), isInt(true), intMin(intMin), intMax(intMax),
      intAttr(intAttr), typeCode(typeCode) {
    registerSelf();
}

void PARAMETER::registerSelf() {
    if (manager == nullptr) {
        tovanTrace("\n>>>> %d - NULL PARAMETER MANAGER", index);
        return;
    }
    manager->Register(index, this);
}

PARAMETER::~PARAMETER() {
    if (manager != nullptr) manager->Unregister(index, this);
}

void PARAMETER::SetValue(float x) {
    value = x;
    UpdateRaw();
}

void PARAMETER::SetData(const uint8_t*) {}

float PARAMETER::GetValue() {
    return value;
}

int32_t PARAMETER::GetIntValue() {
    return intValue;
}

float PARAMETER::GetDefault() {
    return defaultValue;
}

void PARAMETER::NotifyChanged() {
    if (manager != nullptr && manager->listener != nullptr) manager->listener->ParameterChanged(index);
}

const char* PARAMETER::GetName() {
    return name;
}

const char* PARAMETER::GetLabel() {
    return label;
}

void PARAMETER::Format(char* out, int, int) {
    if (out != nullptr) out[0] = '\0';
}

void PARAMETER::GetUnits(char* out, int, int) {
    if (out != nullptr) out[0] = '\0';
}

float PARAMETER::ParseString(const char*) {
    return 0.0f;
}

void PARAMETER::SetRaw(int) {}

void PARAMETER::UpdateRaw() {
    raw = 0;
}

void PARAMETER::SetFromWord(int) {}
