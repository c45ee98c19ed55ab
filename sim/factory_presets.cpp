#include "sim/factory_presets.h"

namespace tovan::sim {
namespace {

constexpr const char* kEffectTypes[10] = {
    "Pedal",       "Pedal Vowels", "Touch Wah",        "Bass Envelope", "LFO",
    "LFO Stepped", "LFO Beats",    "Pitch Bend|Track", "Bubbly",        "Mixup|Exotic",
};

constexpr FactoryPreset kPresets[kFactoryPresetCount] = {
    // Pedal
    {"CRY", "Classic crybaby"},
    {"VOX", "British chrome wah"},
    {"SHF", "Shaft funk rhythm"},
    {"DRK", "Dark throaty sweep"},
    {"BRT", "Bright lead cut"},
    {"WID", "Wide range sweep"},
    {"NRW", "Narrow vintage range"},
    {"LOQ", "Low Q smooth wah"},
    {"HIQ", "High Q vocal wah"},
    {"DUO", "Two filters in step"},
    // Pedal Vowels
    {"AEI", "Vowels a-e-i"},
    {"OOH", "Ooh to aah"},
    {"YOW", "Yow talk box"},
    {"WOW", "Wow wow mouth"},
    {"EEE", "Thin ee vowel"},
    {"AHH", "Open aah"},
    {"OUI", "French oui"},
    {"TLK", "Talking pedal"},
    {"YAK", "Yakety vowels"},
    {"IOU", "Vowels i-o-u"},
    // Touch Wah
    {"ENV", "Touch wah up"},
    {"DWN", "Touch wah down"},
    {"QTR", "Quack on attack"},
    {"FNK", "Funk strum wah"},
    {"SFT", "Soft touch sweep"},
    {"SNP", "Snappy pick attack"},
    {"SLW", "Slow bloom"},
    {"DBL", "Dual envelope"},
    {"CHK", "Chicken pickin"},
    {"AUT", "Auto wah classic"},
    // Bass Envelope
    {"BSE", "Bass envelope"},
    {"MUT", "Mutron style"},
    {"SUB", "Sub bass growl"},
    {"SLP", "Slap bass quack"},
    {"DUB", "Dub bass sweep"},
    {"FAT", "Fat low pass"},
    {"PLK", "Plucked bass wah"},
    {"GRW", "Growl and bark"},
    {"DEP", "Deep bass filter"},
    {"BOO", "Boomy envelope"},
    // LFO
    {"SIN", "Sine sweep slow"},
    {"TRI", "Triangle sweep"},
    {"SQR", "Square chop"},
    {"SUP", "Saw up ramps"},
    {"SDN", "Saw down ramps"},
    {"TRP", "Trapezoid pulse"},
    {"RND", "Random sweep"},
    {"PHS", "Phaser like"},
    {"LSH", "Lush slow sweep"},
    {"FST", "Fast flutter"},
    // LFO Stepped
    {"STP", "Stepped filter"},
    {"SEQ", "Sequencer steps"},
    {"ARP", "Arpeggio filter"},
    {"S16", "Sixteenth steps"},
    {"S08", "Eighth note steps"},
    {"TRN", "Triplet steps"},
    {"RBT", "Robot steps"},
    {"SHH", "Sample and hold"},
    {"CHP", "Chopped steps"},
    {"LAD", "Ladder climb"},
    // LFO Beats
    {"BT1", "Beats quarter"},
    {"BT2", "Beats eighth"},
    {"SYN", "Tempo synced"},
    {"TAP", "Tap tempo wah"},
    {"HLF", "Half time sweep"},
    {"DBT", "Double time"},
    {"SWG", "Swing beats"},
    {"OFF", "Offbeat accent"},
    {"PLS", "Pulse beats"},
    {"MDI", "MIDI clock sync"},
    // Pitch Bend|Track
    {"BND", "Pitch bend wah"},
    {"TRK", "Pitch track wah"},
    {"WHM", "Whammy sweep"},
    {"OCT", "Octave track"},
    {"HRM", "Harmonic track"},
    {"LOW", "Track low notes"},
    {"HGH", "Track high notes"},
    {"CTR", "Centre anchored"},
    {"GLD", "Glide bend"},
    {"SNG", "Singing tracker"},
    // Bubbly
    {"BUB", "Bubbly resonance"},
    {"POP", "Popping bubbles"},
    {"FIZ", "Fizzy filter"},
    {"GLG", "Gurgle"},
    {"DRP", "Water drops"},
    {"FOM", "Foam"},
    {"BOB", "Bubble bobble"},
    {"SPL", "Splash"},
    {"SDA", "Soda pop"},
    {"LAV", "Lava lamp"},
    // Mixup|Exotic
    {"MIX", "Mixup pedal LFO"},
    {"EXO", "Exotic formants"},
    {"SIT", "Sitar buzz"},
    {"KTO", "Koto pluck"},
    {"SPC", "Space sweep"},
    {"ALN", "Alien voice"},
    {"DUA", "Dual opposed"},
    {"XFD", "Crossfade filters"},
    {"WRP", "Warp drive"},
    {"ZAP", "Zap laser"},
};

} // namespace

const char* effectTypeName(int group) {
    return (group >= 0 && group < 10) ? kEffectTypes[group] : nullptr;
}

const FactoryPreset* factoryPreset(int number) {
    return (number >= 0 && number < kFactoryPresetCount) ? &kPresets[number] : nullptr;
}

} // namespace tovan::sim
