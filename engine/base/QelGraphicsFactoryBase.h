#pragma once
// The graphics service as code outside the graphics folder sees it. It owns
// every drawable resource by name: a "Get" returns the stored object or makes
// and stores it, a "Find" returns the stored object or null. Callers keep the
// pointers and never delete them. The graphics implementation derives from it
// and publishes itself in gGraphicsFactory; without graphics (the headless
// server) the pointer stays null.

#include <glm/mat4x4.hpp>
#include <string>

#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelIndexList.h"
#include "engine/base/QelInstanceList.h"
#include "engine/base/QelVertexList.h"

class QelGraphicsFactoryBase {
public:
    virtual ~QelGraphicsFactoryBase() = default;

    // A bitmap of that size, a render target when renderTarget is set.
    virtual Qel2dBitmap* GetRenderTarget(std::string name, int width, int height, bool renderTarget) = 0;
    // The image of that name from the graphics folder; null when none loads.
    virtual Qel2dBitmap* Load2DBitmap(std::string name) = 0;
    virtual Qel2dBitmap* Find2DBitmap(std::string name) = 0;
    virtual QelDrawProcess* GetShader(std::string name) = 0;
    virtual QelDrawProcess* FindShader(std::string name) = 0;
    // The font of that file at that pixel size, kept under name + size.
    virtual QelBitmapFont* LoadFont(std::string name, int size) = 0;
    virtual QelBitmapFont* FindFont(std::string name, int size) = 0;
    virtual QelVertexList* GetVertList(std::string name, int count, bool mustExist) = 0;
    virtual QelVertexList* FindVertList(std::string name) = 0;
    virtual QelIndexList* GetIndexList(std::string name, int count) = 0;
    virtual QelIndexList* FindIndexList(std::string name) = 0;
    virtual QelInstanceList* GetInstanceList(std::string name, int count) = 0;
    virtual QelInstanceList* FindInstanceList(std::string name) = 0;
    // Left-handed perspective with depth 0..1; fieldOfView vertical, radians.
    virtual void SetPerspective(float fieldOfView, float aspect, float nearPlane, float farPlane) = 0;
    // Transposed, as the shaders' constant blocks take it.
    virtual glm::mat4 GetProjectionMatrix() = 0;
    // Draws the batched 2D primitives, lowest order key first.
    virtual void Flush2D() = 0;
    // Flush2D, then clears the depth of that render target (null: the screen).
    virtual void Flush2DAndClearDepth(Qel2dBitmap* target) = 0;
    virtual void IgnoreName(std::string name) = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    virtual void SetFullScreen(bool on) = 0;
    virtual bool IsFullScreen() = 0;
    virtual void CloseProgram() = 0;
    // The oldest file dropped on the window, removed; empty when none.
    virtual std::string PopDroppedFile() = 0;
    // slot 0..9
    virtual void RecordProfileValue(int slot, float value) = 0;
    virtual void RollProfileCounters() = 0;
    virtual void ShowErrorMessage(std::string text) = 0;
    virtual void Delete2DBitmap(std::string name) = 0;
};

extern QelGraphicsFactoryBase* gGraphicsFactory;
