#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "model/parameter_manager.h"
#include "toolkit/parameter_host.h"

class CCPageObject;
class CCRedrawLock;

// Owns the parameter set and carries changes between parameters and the page
// objects bound to them by tag: news from the pedal is queued by parameter
// index and delivered to the bound control as message 513.
class CVSProcess : public ParameterListener, public CCParameterHost {
public:
    static constexpr int32_t kAllChanged = 4098;
    static constexpr int32_t kQueueEmpty = 4099;

    CVSProcess();
    CVSProcess(const CVSProcess&) = delete;
    CVSProcess& operator=(const CVSProcess&) = delete;
    ~CVSProcess() override;

    // Creates the parameter set; the base has none.
    virtual void BuildParameters();
    virtual void UnbindAll();
    // Delivers queued changes to the bound controls (user-interface thread).
    virtual void FlushChanges();

    // Builds the parameters once, then binds every object of the listener's tree
    // whose tag names a parameter slot.
    void Open();
    void Bind(int32_t index, CCPageObject* control);
    CCPageObject* GetBinding(int32_t index) const;
    bool IsPending(int32_t index) const;

    // Queues a change for the bound control; kAllChanged refreshes every one.
    void ParameterChanged(int32_t index) override;
    bool QueueEmpty() const;
    void ClearQueue();
    int32_t PeekQueue() const;
    int32_t PopQueue();

    PARAMETER_MANAGER* parameters() const { return parameterManager.get(); }
    // The page whose tree is bound, and the lock its drawing holds.
    void setListener(CCPageObject* page, CCRedrawLock* redraw) {
        listener = page;
        redrawLock = redraw;
    }
    // A page manager is both.
    template <typename Manager>
    void setListener(Manager* manager) {
        setListener(manager, manager);
    }
    CCPageObject* getListener() const { return listener; }

    // How controls reach the parameters by tag.
    int32_t parameterCount() const override;
    bool hasParameter(int32_t tag) const override;
    float value(int32_t tag) const override;
    bool isIntParameter(int32_t tag) const override;
    int32_t intValue(int32_t tag) const override;
    CCParameterRange range(int32_t tag) const override;
    std::string formatText(int32_t tag) const override;
    bool parseText(int32_t tag, std::string_view text, float& normalised) const override;
    void bindView(int32_t tag, CCPageObject* view) override;
    void unbindView(int32_t tag, CCPageObject* view) override;

protected:
    std::unique_ptr<PARAMETER_MANAGER> parameterManager;

private:
    struct Binding {
        CCPageObject* control = nullptr;
        bool pending = false;
    };
    // Runs under the binding lock.
    template <typename F>
    auto locked(F&& f) const {
        std::lock_guard guard(lock);
        return f();
    }
    void deliverSetValue(int32_t index, CCPageObject* control, bool notify);
    void clearPending(int32_t index);

    std::unique_ptr<Binding[]> bindings;
    int32_t bindingCount = 0;
    std::deque<int32_t> queue;
    CCPageObject* listener = nullptr;
    CCRedrawLock* redrawLock = nullptr;
    mutable std::recursive_mutex lock;
};
