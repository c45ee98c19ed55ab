#pragma once

// A process-wide service that a program installs (the GTK dialogs, the file
// settings store ...), and the fallback used until it does. Not owned.
template <class Interface>
class InstalledService {
public:
    Interface& get(Interface& fallback) const { return installed != nullptr ? *installed : fallback; }
    // Installs `next` (null restores the fallback) and returns the previous one.
    Interface* replace(Interface* next) {
        Interface* previous = installed;
        installed = next;
        return previous;
    }

private:
    Interface* installed = nullptr;
};
