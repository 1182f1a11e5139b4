// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreBackendRules.h"

#include <functional>

namespace {

constexpr int LocalMachine = 2;

struct Rule {
    const char *name;
    std::function<bool(StoreBackend &, const std::string &)> holds;
};

std::string text(const std::optional<std::string> &value)
{
    return value ? "\"" + *value + "\"" : "nothing";
}

} // namespace

std::vector<std::string> checkStoreBackendRules(StoreBackend &store, const std::string &base)
{
    std::string error;
    const std::string options = base + "\\Options";
    const std::string variables = base + "\\Variables";
    const std::vector<Rule> rules{
        {"a missing value reads as nothing and creates nothing",
         [&](StoreBackend &s, const std::string &) {
             return !s.read(LocalMachine, options, "Top") && !s.keyExists(LocalMachine, base);
         }},
        {"a write creates every key on its path",
         [&](StoreBackend &s, const std::string &) {
             return s.write(LocalMachine, variables, "Total", "00:00:00", &error) && s.keyExists(LocalMachine, base)
                 && s.keyExists(LocalMachine, variables) && s.read(LocalMachine, variables, "Total") == "00:00:00";
         }},
        {"a text reads back letter for letter",
         [&](StoreBackend &s, const std::string &) {
             const std::string words = "Déconnexion  12:34:56 \"é ü €\" \\ ";
             return s.write(LocalMachine, variables, "Words", words, &error)
                 && s.read(LocalMachine, variables, "Words") == words;
         }},
        {"an empty text is a value, not a missing one",
         [&](StoreBackend &s, const std::string &) {
             return s.write(LocalMachine, options, "Empty", "", &error) && s.read(LocalMachine, options, "Empty") == "";
         }},
        {"names match without regard to case, accents included",
         [&](StoreBackend &s, const std::string &b) {
             std::string upper = b;
             for (char &c : upper)
                 c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
             return s.write(LocalMachine, options, "Caché", "True", &error)
                 && s.write(LocalMachine, options, "indivisible", "1", &error)
                 && s.read(LocalMachine, upper + "\\OPTIONS", "CACHÉ") == "True"
                 && s.read(LocalMachine, options, "Indivisible") == "1";
         }},
        {"a look-up tells a found value from a missing value or key",
         [&](StoreBackend &s, const std::string &) {
             const auto found = s.lookup(LocalMachine, variables, "Total");
             return found.status == StoreBackend::ReadStatus::Found && found.text == "00:00:00"
                 && s.lookup(LocalMachine, variables, "Nobody").status == StoreBackend::ReadStatus::Missing
                 && s.lookup(LocalMachine, base + "\\Nowhere", "Total").status == StoreBackend::ReadStatus::Missing;
         }},
        {"the empty name is the key's default value",
         [&](StoreBackend &s, const std::string &) {
             return s.write(LocalMachine, options, "", "default", &error)
                 && s.read(LocalMachine, options, "") == "default" && s.read(LocalMachine, options, "Caché") == "True";
         }},
        {"a listing holds every value below a key, spelled as first written",
         [&](StoreBackend &s, const std::string &) {
             bool found = false;
             for (const StoreBackend::Value &value : s.list(LocalMachine, base))
                 found = found || (value.name == "Caché" && value.text == "True" && value.root == LocalMachine);
             return found;
         }},
        {"deleting a value leaves its key",
         [&](StoreBackend &s, const std::string &) {
             s.removeValue(LocalMachine, options, "Empty");
             s.removeValue(LocalMachine, options, "Never written");
             return !s.read(LocalMachine, options, "Empty") && s.keyExists(LocalMachine, options);
         }},
        {"deleting a key takes its values and leaves the others",
         [&](StoreBackend &s, const std::string &) {
             s.removeKey(LocalMachine, variables);
             s.removeKey(LocalMachine, base + "\\Never written");
             return !s.read(LocalMachine, variables, "Total") && !s.keyExists(LocalMachine, variables)
                 && s.read(LocalMachine, options, "Caché") == "True";
         }},
        {"roots 5 and -1 name nothing: reads give nothing, writes are refused",
         [&](StoreBackend &s, const std::string &) {
             std::string refused5, refusedMinus1;
             const bool wrote = s.write(5, options, "X", "1", &refused5) || s.write(-1, options, "X", "1", &refusedMinus1);
             return !wrote && !refused5.empty() && !refusedMinus1.empty() && !s.read(5, options, "X")
                 && !s.read(-1, options, "X") && !s.keyExists(5, options);
         }},
    };

    std::vector<std::string> broken;
    store.removeKey(LocalMachine, base);
    for (const Rule &rule : rules) {
        error.clear();
        if (!rule.holds(store, base))
            broken.push_back(std::string(rule.name) + (error.empty() ? "" : " (" + error + ")") + "; Options\\Caché reads "
                             + text(store.read(LocalMachine, options, "Caché")));
    }
    store.removeKey(LocalMachine, base);
    return broken;
}
