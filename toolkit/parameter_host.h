#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CCPageObject;

// The range of one parameter as controls use it.
struct CCParameterRange {
    int32_t minimum = 0;
    int32_t maximum = 0;
};

// How the toolkit reaches the application's parameters. The toolkit owns this
// interface; the parameter-set owner implements it, so controls know tags and
// values but never parameter objects. Every query answers a neutral value for a
// tag that names no parameter.
class CCParameterHost {
public:
    virtual ~CCParameterHost() = default;

    // Tags 0 .. parameterCount() - 1 may name parameters.
    virtual int32_t parameterCount() const = 0;
    virtual bool hasParameter(int32_t tag) const = 0;
    // The value normalised to 0..1.
    virtual float value(int32_t tag) const = 0;
    virtual bool isIntParameter(int32_t tag) const = 0;
    virtual int32_t intValue(int32_t tag) const = 0;
    virtual CCParameterRange range(int32_t tag) const = 0;
    // The parameter's display text; empty for no parameter.
    virtual std::string formatText(int32_t tag) const = 0;
    // Converts text typed by the user to a normalised value; false when the text
    // does not parse or the tag names no parameter.
    virtual bool parseText(int32_t tag, std::string_view text, float& normalised) const = 0;

    // Registers `view` as the object that shows parameter `tag`; a later view
    // replaces an earlier one.
    virtual void bindView(int32_t tag, CCPageObject* view) = 0;
    // Forgets `view` for `tag` if it is the one registered (the object is leaving the tree).
    virtual void unbindView(int32_t tag, CCPageObject* view) = 0;
};
