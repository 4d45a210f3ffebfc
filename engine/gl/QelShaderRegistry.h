#pragma once
// The shader classes a GL graphics service can make, by name. The service
// owns its registry, as a GL context owns the programs the classes compile.
// The engine fills it explicitly (RegisterEngineShaders) rather than from
// static initializers, which a static library's link would drop.

#include <functional>
#include <map>
#include <string>

class GLQELShaderRoot;

using QelShaderFactory = std::function<GLQELShaderRoot*()>;

class QelShaderRegistry {
public:
    // A later registration under the same name replaces the earlier factory.
    void Register(const std::string& name, QelShaderFactory factory);
    // The factory of that name, or null when none was registered.
    const QelShaderFactory* Find(const std::string& name) const;
    // Registers every shader class the engine has; safe to call more than once.
    void RegisterEngineShaders();

private:
    std::map<std::string, QelShaderFactory> factories_;
};
