#pragma once

#include <cstdint>
#include <memory>

class CCPreferenceManager;

// One typed application preference, identified by a small id (usable as a
// control tag) and stored under its value name.
class CCPreference {
public:
    enum Kind : int32_t { Integer = 0, Float = 1, String = 2, Data = 3 };
    static constexpr size_t kValueNameSize = 34;

    CCPreference(int32_t kind, int32_t size, uint16_t id, const char* valueName, CCPreferenceManager* owner,
                 int32_t userFlag);
    CCPreference(const CCPreference&) = delete;
    CCPreference& operator=(const CCPreference&) = delete;

    // The value as text; null for kinds without one.
    virtual const char* text();
    virtual int32_t intValue();
    virtual float floatValue();
    virtual const uint8_t* data();
    virtual bool isVariableSize();
    virtual float defaultFloat();
    virtual int32_t defaultInt();
    virtual ~CCPreference();
    // Stores the value, writes it to the settings store when save is set, and
    // tells every preference manager of the process.
    virtual bool set(double value, bool save);
    virtual bool setFromData(const uint8_t* bytes, bool save, int32_t length);
    virtual void assign(double value);
    virtual void assignFromText(const uint8_t* bytes, int32_t length);

    int32_t kind;
    int32_t size;
    uint16_t id;
    char valueName[kValueNameSize] = {};
    CCPreferenceManager* owner;
    int32_t userFlag;
};

class CCIntPreference : public CCPreference {
public:
    CCIntPreference(uint16_t id, const char* valueName, CCPreferenceManager* owner, int32_t defaultValue,
                    int32_t userFlag = 0);
    const char* text() override;
    int32_t intValue() override { return current; }
    float floatValue() override { return static_cast<float>(current); }
    int32_t defaultInt() override { return defaultValue; }
    float defaultFloat() override { return static_cast<float>(defaultValue); }
    void assign(double value) override;
    void assignFromText(const uint8_t* bytes, int32_t length) override;

    int32_t current;
    int32_t defaultValue;

private:
    char textBuffer[16] = {};
};

class CCFloatPreference : public CCPreference {
public:
    CCFloatPreference(uint16_t id, const char* valueName, CCPreferenceManager* owner, float defaultValue,
                      int32_t userFlag = 0);
    const char* text() override;
    int32_t intValue() override;
    float floatValue() override { return current; }
    int32_t defaultInt() override;
    float defaultFloat() override { return defaultValue; }
    void assign(double value) override;
    void assignFromText(const uint8_t* bytes, int32_t length) override;

    float current;
    float defaultValue;

private:
    char textBuffer[64] = {};
};

class CCStringPreference : public CCPreference {
public:
    static constexpr int32_t kCapacity = 256;

    CCStringPreference(uint16_t id, const char* valueName, CCPreferenceManager* owner,
                       const char* defaultValue);
    const char* text() override { return value; }
    int32_t intValue() override;
    float floatValue() override;
    // Copies up to the text's zero; the value always keeps its terminator.
    void assignFromText(const uint8_t* bytes, int32_t length) override;

    char value[kCapacity] = {};
};

class CCDataPreference : public CCPreference {
public:
    // A length of 0 makes the preference take whatever length is read back.
    CCDataPreference(uint16_t id, const char* valueName, CCPreferenceManager* owner, const uint8_t* bytes,
                     int32_t length);
    const uint8_t* data() override { return block.get(); }
    bool isVariableSize() override { return variableSize; }
    void assignFromText(const uint8_t* bytes, int32_t length) override;

    bool variableSize;

private:
    std::unique_ptr<uint8_t[]> block;
};
