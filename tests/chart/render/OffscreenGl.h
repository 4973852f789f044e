#pragma once

// An OpenGL compatibility-profile context drawing into an offscreen framebuffer, for rendering
// the chart without a window. It needs an X display (the tests run under Xvfb).

#include <QGuiApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>

#include <GL/gl.h>

#include <cstdlib>
#include <memory>

namespace quarmel::testing {

class OffscreenGl {
  public:
    static bool DisplayAvailable() {
        const char* display = std::getenv("DISPLAY");
        return display != nullptr && *display != '\0';
    }

    OffscreenGl(int width, int height) : width_(width), height_(height) {
        static int argc = 1;
        static char name[] = "chart_render";
        static char* argv[] = {name, nullptr};
        // One application for the whole program, never destroyed: contexts may outlive tests.
        if (QGuiApplication::instance() == nullptr) new QGuiApplication(argc, argv);

        QSurfaceFormat format;
        format.setRenderableType(QSurfaceFormat::OpenGL);
        format.setProfile(QSurfaceFormat::CompatibilityProfile);
        format.setVersion(2, 1);
        format.setDepthBufferSize(24);
        surface_ = std::make_unique<QOffscreenSurface>();
        surface_->setFormat(format);
        surface_->create();
        context_ = std::make_unique<QOpenGLContext>();
        context_->setFormat(format);
        if (!context_->create() || !context_->makeCurrent(surface_.get())) return;
        QOpenGLFramebufferObjectFormat fboFormat;
        fboFormat.setAttachment(QOpenGLFramebufferObject::Depth);
        // Opaque like the chart panel: the scene's clear colour has alpha 0.
        fboFormat.setInternalTextureFormat(GL_RGB8);
        fbo_ = std::make_unique<QOpenGLFramebufferObject>(width, height, fboFormat);
        ok_ = fbo_->isValid() && fbo_->bind();
    }

    ~OffscreenGl() {
        if (context_ && context_->makeCurrent(surface_.get())) fbo_.reset();
    }

    bool Ok() const { return ok_; }
    // Makes this context and framebuffer the ones drawn into, after another was.
    bool MakeCurrent() { return ok_ && context_->makeCurrent(surface_.get()) && fbo_->bind(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // The framebuffer's pixels, top row first.
    QImage Read() const { return fbo_->toImage(true).convertToFormat(QImage::Format_RGB32); }

    // Glyph lists for labels: every printable character is a solid 6 x 8 block advancing 7
    // pixels, so a label shows as blocks in its colour. Returns the first of the 256 lists.
    static unsigned SolidGlyphs() {
        static const unsigned char block[8] = {0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc, 0xfc};
        const GLuint base = glGenLists(256);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        for (int c = 0; c < 256; ++c) {
            glNewList(base + c, GL_COMPILE);
            if (c > ' ') glBitmap(6, 8, 0, 0, 7, 0, block);
            if (c == ' ') glBitmap(0, 0, 0, 0, 7, 0, nullptr);
            glEndList();
        }
        return base;
    }

  private:
    int width_;
    int height_;
    bool ok_ = false;
    std::unique_ptr<QOffscreenSurface> surface_;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOpenGLFramebufferObject> fbo_;
};

}  // namespace quarmel::testing
