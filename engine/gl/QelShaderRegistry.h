#pragma once
// The shader registry: shader class factories by name, ordered by name. The
// engine registers its classes explicitly (RegisterEngineShaders) rather than
// from static initializers, which a static library's link would drop.

#include <functional>
#include <map>
#include <memory>
#include <string>

class GLQELShaderRoot;

using QelShaderFactory = std::function<GLQELShaderRoot*()>;

struct QelShaderRegistryEntry {
    QelShaderFactory handler;
};

using QelShaderRegistry = std::map<std::string, QelShaderRegistryEntry>;

// Made on the first registration, freed by FreeShaderRegistry.
extern QelShaderRegistry* gShaderRegistry;

// A later registration under the same name replaces the earlier factory.
void RegisterShader(const std::string& name, QelShaderFactory factory);
// The entry of that name, or null when it was never registered.
const QelShaderRegistryEntry* FindShaderFactory(const std::string& name);
void FreeShaderRegistry();

// Registers every shader class the engine has; safe to call more than once.
void RegisterEngineShaders();
