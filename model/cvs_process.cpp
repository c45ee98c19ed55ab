#include "model/cvs_process.h"

#include "model/parameter.h"
#include "toolkit/messages.h"
#include "toolkit/page_object.h"
#include "toolkit/redraw_lock.h"

CVSProcess::CVSProcess() = default;

CVSProcess::~CVSProcess() {
    CVSProcess::UnbindAll();
    ClearQueue();
}

void CVSProcess::BuildParameters() {}

void CVSProcess::UnbindAll() {
    locked([&] {
        for (int32_t i = 0; i < bindingCount; ++i)
            bindings[i].control = nullptr;
    });
}

void CVSProcess::Open() {
    if (!parameterManager) {
        BuildParameters();
        if (!parameterManager) return;
        locked([&] {
            bindingCount = parameterManager->Size();
            bindings = std::make_unique<Binding[]>(static_cast<size_t>(bindingCount));
        });
    }
    if (listener == nullptr) return;
    listener->visitDescendants([&](CCPageObject& object) {
        if (object.getTag() >= 0 && object.getTag() < bindingCount) Bind(object.getTag(), &object);
        return false;
    });
}

void CVSProcess::Bind(int32_t index, CCPageObject* control) {
    locked([&] {
        if (index >= 0 && index < bindingCount) bindings[index].control = control;
    });
}

CCPageObject* CVSProcess::GetBinding(int32_t index) const {
    return locked([&]() -> CCPageObject* {
        return index >= 0 && index < bindingCount ? bindings[index].control : nullptr;
    });
}

bool CVSProcess::IsPending(int32_t index) const {
    return locked([&] { return index >= 0 && index < bindingCount && bindings[index].pending; });
}

void CVSProcess::ParameterChanged(int32_t index) {
    locked([&] {
        if (!bindings) return;
        if (index == kAllChanged) {
            queue.push_front(index);
            return;
        }
        if (index < 0 || index >= bindingCount) return;
        if (bindings[index].control != nullptr) queue.push_back(index);
        bindings[index].pending = true;
    });
}

bool CVSProcess::QueueEmpty() const {
    return locked([&] { return queue.empty(); });
}

void CVSProcess::ClearQueue() {
    locked([&] { queue.clear(); });
}

int32_t CVSProcess::PeekQueue() const {
    return locked([&] { return queue.empty() ? kQueueEmpty : queue.front() & 0xFFFF; });
}

int32_t CVSProcess::PopQueue() {
    return locked([&] {
        if (queue.empty()) return kQueueEmpty;
        const int32_t index = queue.front() & 0xFFFF;
        queue.pop_front();
        return index;
    });
}

void CVSProcess::clearPending(int32_t index) {
    locked([&] {
        if (index >= 0 && index < bindingCount) bindings[index].pending = false;
    });
}

void CVSProcess::deliverSetValue(int32_t index, CCPageObject* control, bool notify) {
    CCMsg message(kMsgSetValue, index);
    if (parameterManager->IsIntParam(index)) {
        message.second = parameterManager->GetIntValue(index);
        message.notify = 1;
    } else {
        message.value = parameterManager->GetValue(index);
        message.notify = notify ? 1 : 0;
    }
    message.disable = parameterManager->IsAutomatable(index) ? 0 : 1;
    message.target = control;
    control->onMessage(message);
}

void CVSProcess::FlushChanges() {
    const size_t waiting = locked([&] { return queue.size(); });
    if (waiting == 0 || !parameterManager) return;

    // Delivery happens outside the binding lock: a control may answer by
    // changing parameters, which queues more changes.
    std::unique_lock<std::recursive_mutex> redraw;
    if (redrawLock != nullptr) redraw = redrawLock->lockRedraw();
    if (PeekQueue() == kAllChanged) {
        ClearQueue();
        for (int32_t index = 0; index < bindingCount; ++index) {
            CCPageObject* control = GetBinding(index);
            if (control == nullptr || parameterManager->Find(index) == nullptr) continue;
            deliverSetValue(index, control, false);
            clearPending(index);
        }
        if (listener != nullptr) listener->invalidate(false);
        return;
    }
    for (int32_t index = PopQueue(); index != kQueueEmpty; index = PopQueue()) {
        CCPageObject* control = GetBinding(index);
        if (control == nullptr || parameterManager->Find(index) == nullptr) continue;
        deliverSetValue(index, control, true);
        clearPending(index);
    }
}

int32_t CVSProcess::parameterCount() const {
    return parameterManager ? parameterManager->Size() : 0;
}

bool CVSProcess::hasParameter(int32_t tag) const {
    return parameterManager && parameterManager->Find(tag) != nullptr;
}

float CVSProcess::value(int32_t tag) const {
    return hasParameter(tag) ? parameterManager->GetValue(tag) : 0.0f;
}

bool CVSProcess::isIntParameter(int32_t tag) const {
    return hasParameter(tag) && parameterManager->IsIntParam(tag);
}

int32_t CVSProcess::intValue(int32_t tag) const {
    return hasParameter(tag) ? parameterManager->GetIntValue(tag) : 0;
}

CCParameterRange CVSProcess::range(int32_t tag) const {
    if (!hasParameter(tag)) return {};
    return {parameterManager->GetIntMin(tag), parameterManager->GetIntMax(tag)};
}

std::string CVSProcess::formatText(int32_t tag) const {
    if (!hasParameter(tag)) return {};
    char text[kParameterTextSize] = {};
    parameterManager->Format(tag, text, 0, static_cast<int>(kParameterTextSize) - 1);
    return text;
}

bool CVSProcess::parseText(int32_t tag, std::string_view text, float& normalised) const {
    if (!hasParameter(tag)) return false;
    normalised = parameterManager->ParseString(tag, std::string(text).c_str());
    return true;
}

void CVSProcess::bindView(int32_t tag, CCPageObject* view) {
    Bind(tag, view);
}

void CVSProcess::unbindView(int32_t tag, CCPageObject* view) {
    locked([&] {
        if (tag >= 0 && tag < bindingCount && bindings[tag].control == view) bindings[tag].control = nullptr;
    });
}
