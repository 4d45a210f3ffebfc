#pragma once
// The graphics service as code outside the graphics folder sees it. It owns
// every drawable resource by name: a "Get" returns the stored object or makes
// and stores it, a "Find" returns the stored object or null. Callers keep the
// pointers and never delete them. The graphics implementation derives from it
// and publishes itself in gGraphicsFactory; without graphics (the headless
// server) the pointer stays null.

#include <glm/mat4x4.hpp>
#include <memory>
#include <set>
#include <string>

#include "engine/base/QEL3DObject.h"
#include "engine/base/Qel2dBitmap.h"
#include "engine/base/QelBitmapFont.h"
#include "engine/base/QelDrawProcess.h"
#include "engine/base/QelIndexList.h"
#include "engine/base/QelInstanceList.h"
#include "engine/base/QelPixelImage.h"
#include "engine/base/QelVertexList.h"

class QelGraphicsFactoryBase {
public:
    virtual ~QelGraphicsFactoryBase() = default;

    // A bitmap of that size, a render target when renderTarget is set.
    virtual Qel2dBitmap* GetRenderTarget(std::string name, int width, int height, bool renderTarget) = 0;
    // The image of that name from the graphics folder; null when none loads.
    virtual Qel2dBitmap* Load2DBitmap(std::string name) = 0;
    // A bitmap of that name holding pixels the caller decoded itself, drawn
    // as an image loaded from a file is (with a mip chain in 3D). It
    // replaces a bitmap of the same name.
    virtual Qel2dBitmap* Adopt2DImage(std::string name, QelPixelImage image) = 0;
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
    // Hands what was drawn so far to the graphics without waiting for it, so
    // a renderer that draws on other threads starts on it while more is
    // being prepared. Nothing to do for a service that draws at once.
    virtual void SubmitDrawing();
    // Copies the bitmap's pixels inside `from` into `to` on the screen as
    // they are, replacing what was there, filtered only when stretched; the
    // 2D batch drawn so far lands first. False when the service cannot: the
    // caller then draws the bitmap instead.
    virtual bool CopyToScreen(Qel2dBitmap& source, const QelRect& from, const QelRect& to);
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
    // Whether GetShader can make a shader of that name; a service whose
    // shaders draw nothing takes any name.
    virtual bool KnowsShader(const std::string& name);

    // A texture for drawing: the bitmap of that name, or "smallWhite" when no
    // image of that name loads (said once per name; a name that failed is not
    // searched for again, so drawing it every frame costs no file look-ups).
    Qel2dBitmap* LoadTexture(const std::string& name);

    // 3D objects, read from the mesh files under data/graphics. The lists they
    // name are this service's and shared by every object of the same mesh;
    // the object itself is the caller's.
    //
    // The mesh of that name with its draw units naming shaderName: the cache
    // "<name>.qelmesh" when it is newer than "<name>.obj" (or there is no
    // OBJ file) and is sound; else the OBJ file converted (the transform, or
    // none, baked into its vertices) and cached for the next time. Null, with
    // one log line, when neither can be read.
    std::unique_ptr<QEL3DObject> Load3DObject(const std::string& name, const std::string& shaderName,
                                              const glm::mat4* transform = nullptr);
    // Writes the object as "<folder>/<name>.qelmesh" (folder empty:
    // data/graphics), replacing the file whole; false when it cannot be written.
    bool Save3DMesh(const std::string& folder, const std::string& name, const QEL3DObject& object);
    // Reads "data/graphics/<name>.qelmesh"; null, with one log line, when it
    // is missing or damaged (counts, sizes, indices or numbers out of range).
    std::unique_ptr<QEL3DObject> Load3DMesh(const std::string& name);

private:
    std::set<std::string> missingTextures_;
};

extern QelGraphicsFactoryBase* gGraphicsFactory;

// The process's graphics service; a program that has none installed and asks
// for it is at fault.
QelGraphicsFactoryBase& GraphicsService();
