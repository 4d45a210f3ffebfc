#pragma once
// A data document (preferences, ship definitions and other data files) found
// by name in the data folder, parsed whole as Hjson and read by key.

#include "helper/Hjson.h"

#include <stdexcept>
#include <string>
#include <vector>

// A document could not be found or read, or a value in it cannot be used.
// It reaches the run loop's "Error" box; the message names the file (the path
// actually read), the key and what was wrong, in one line.
class JSONLoaderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct JSONLoader {
    virtual ~JSONLoader() = default;

    // Reads data/<name>.yaml, else data/<name>.json (under the data subfolder
    // when the engine names one), and replaces the root with it. Both are
    // Hjson; a key given twice in one map is a syntax error. Throws
    // JSONLoaderError when neither can be read, the name would leave the data
    // folder, or the file is empty, is not UTF-8 text or does not hold a map
    // of keys; and Hjson::syntax_error, naming the file and the line, when
    // the text does not parse. A failed Init leaves the root as it was.
    virtual void Init(const std::string& name);
    // The same for <folder>/<name>.yaml, else .json, in a folder the operator
    // chose by its path (a mission hosted from outside the data folder).
    void InitInFolder(const std::string& folder, const std::string& name);
    // The folder (a game path) Init reads documents from, where the game
    // also writes the documents it keeps.
    static std::string DocumentFolder();

    // Appends the elements of element `index` of root[key], as text, to the
    // output; returns how many (0 when it is neither a list nor a map).
    virtual int GetStringList(const std::string& key, std::vector<std::string>& output, int index);

    // root[key] as text: "" when absent, "null", "true"/"false", numbers in
    // decimal, strings themselves; a list or a map throws Hjson::type_mismatch.
    virtual std::string GetString(const std::string& key);

    // Elements of root[key] when it is a list or a map, else 0.
    virtual int GetCount(const std::string& key);

    // Element `index` of root[key], as text as in GetString.
    virtual std::string GetStringAt(const std::string& key, int index);

    // root[key] without adding the key; Undefined when absent.
    const Hjson::Value& Get(const std::string& key) const { return root[key]; }

    // The file the root was read from, as the errors about its values name it.
    const std::string& Path() const { return path; }

private:
    void Read(const std::string& folder, const std::string& name);

public:
    Hjson::Value root;  // Undefined until loaded
    std::string path;   // "" until loaded
};
