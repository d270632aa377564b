// A map key file as a text editor may leave it: read, and whatever is accepted is
// written back and read again to the same key, within the key's limits.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "model/MapKey.h"

using namespace qm;
using namespace qmfuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TMapKey key;
    try {
        key = ParseKeyFile(bytes, "fuzz.key.md");
    } catch (const TKeyError& e) {
        Check(std::string(e.what()).find("\"fuzz.key.md\"") != std::string::npos, "a message without the file name");
        return 0;
    }
    int last = 0;
    for (const TKeyEntry& e : key.Entries) {
        Check(e.Number > last && e.Number <= MaxKeyNumber, "numbers out of order or range");
        Check(e.X >= 1 && e.X <= MapSize && e.Y >= 1 && e.Y <= MapSize, "a pin off the map");
        Check(CleanKeyTitle(e.Title) == e.Title && CleanKeyText(e.Text) == e.Text, "an entry not kept clean");
        last = e.Number;
    }
    const std::string text = KeyFileText(key);
    const TMapKey again = ParseKeyFile(text, "again.key.md");
    Check(again == key, "the written key reads back as another key");
    Check(KeyFileText(again) == text, "writing the key twice gives other bytes");
    return 0;
}
