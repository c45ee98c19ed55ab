#include <gtest/gtest.h>

#include <vector>

#include "model/cvs_process.h"
#include "model/pedal_parameters.h"
#include "toolkit/messages.h"
#include "toolkit/page_manager.h"

namespace {

// A page object that keeps every message it is given.
class Recorder : public CCPageObject {
public:
    explicit Recorder(int32_t tag) : CCPageObject(0, 0, 10, 10) { setTag(tag); }
    bool onMessage(CCMsg& msg) override {
        received.push_back(msg);
        return true;
    }
    std::vector<CCMsg> received;
};

class PedalProcess : public CVSProcess {
public:
    void BuildParameters() override { parameterManager = buildPedalParameterSet(this); }
};

class Bindings : public ::testing::Test {
protected:
    Bindings() : manager(CCRect{0, 0, 640, 650}, nullptr, false) {
        first = manager.addChild(std::make_unique<Recorder>(9));
        second = manager.addChild(std::make_unique<Recorder>(24));
        later = manager.addChild(std::make_unique<Recorder>(24));
        unbound = manager.addChild(std::make_unique<Recorder>(kTagNone));
        process.setListener(&manager);
    }
    CCPageManager manager;
    PedalProcess process;
    Recorder* first;
    Recorder* second;
    Recorder* later;
    Recorder* unbound;
};

} // namespace

TEST_F(Bindings, NothingHappensBeforeOpen) {
    process.ParameterChanged(9);
    EXPECT_TRUE(process.QueueEmpty());
    process.FlushChanges();
    EXPECT_TRUE(first->received.empty());
}

TEST_F(Bindings, OpenBindsByTagAndTheLastObjectWins) {
    process.Open();
    EXPECT_EQ(process.GetBinding(9), first);
    EXPECT_EQ(process.GetBinding(24), later);
    EXPECT_EQ(process.GetBinding(4096), nullptr);
    EXPECT_EQ(process.GetBinding(10), nullptr);
    process.UnbindAll();
    EXPECT_EQ(process.GetBinding(9), nullptr);
}

TEST_F(Bindings, ChangesReachTheBoundControlAsSetValue) {
    process.Open();
    process.parameters()->SetValue(9, 42.0f);
    process.ParameterChanged(9);
    process.ParameterChanged(10); // no control: nothing queued, but pending
    EXPECT_EQ(process.PeekQueue(), 9);
    EXPECT_TRUE(process.IsPending(10));
    process.FlushChanges();
    ASSERT_EQ(first->received.size(), 1u);
    const CCMsg& msg = first->received[0];
    EXPECT_EQ(msg.code, kMsgSetValue);
    EXPECT_EQ(msg.first, 9);
    EXPECT_FLOAT_EQ(msg.value, 42.0f);
    EXPECT_EQ(msg.notify, 1);
    EXPECT_EQ(msg.disable, 0);
    EXPECT_FALSE(process.IsPending(9));
    EXPECT_EQ(process.PopQueue(), CVSProcess::kQueueEmpty);

    process.parameters()->Find(9)->automatable = false; // locked
    process.ParameterChanged(9);
    process.FlushChanges();
    EXPECT_EQ(first->received.back().disable, 1);
}

TEST_F(Bindings, EverythingChangedRefreshesEachControlOnce) {
    process.Open();
    process.ParameterChanged(9);
    process.ParameterChanged(9);
    process.ParameterChanged(24);
    process.ParameterChanged(CVSProcess::kAllChanged);
    EXPECT_EQ(process.PeekQueue(), CVSProcess::kAllChanged);
    process.FlushChanges();
    EXPECT_EQ(first->received.size(), 1u);
    EXPECT_EQ(later->received.size(), 1u);
    EXPECT_EQ(first->received[0].notify, 0) << "a refresh of everything does not notify";
    EXPECT_TRUE(second->received.empty());
    EXPECT_TRUE(unbound->received.empty());
    EXPECT_TRUE(process.QueueEmpty());

    process.FlushChanges(); // an empty queue sends nothing
    EXPECT_EQ(first->received.size(), 1u);
}

TEST_F(Bindings, TheHostAnswersByTag) {
    process.Open();
    process.parameters()->SetValue(23, 1205.0f);
    setParameterRange(*process.parameters(), 23, 400, 3000);
    EXPECT_EQ(process.parameterCount(), 173);
    EXPECT_TRUE(process.hasParameter(23));
    EXPECT_FALSE(process.hasParameter(111));
    EXPECT_EQ(process.formatText(23), "120.5");
    EXPECT_EQ(process.range(23).maximum, 3000);
    float parsed = 0.0f;
    EXPECT_TRUE(process.parseText(23, "99.5", parsed));
    EXPECT_FLOAT_EQ(parsed, 995.0f);
    EXPECT_FALSE(process.parseText(111, "1", parsed));
    process.unbindView(24, second); // not the bound one: nothing changes
    EXPECT_EQ(process.GetBinding(24), later);
    process.unbindView(24, later);
    EXPECT_EQ(process.GetBinding(24), nullptr);
}
