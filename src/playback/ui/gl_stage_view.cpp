#include "playback/ui/gl_stage_view.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSurfaceFormat>
#include <QtGui/qguiapplication_platform.h>
#include <QtGui/qopenglcontext_platform.h>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <xcb/xcb.h>

// From Xlib, whose header's macros would clash with Qt's names.
extern "C" int XFlush(Display* display);

namespace lumavo {

namespace {

// A full-window quad; the texture's row 0 is the top of the stage.
const char* const kVertexShader = R"(
attribute vec2 corner;
varying vec2 uv;
void main()
{
    uv = vec2((corner.x + 1.0) * 0.5, (1.0 - corner.y) * 0.5);
    gl_Position = vec4(corner, 0.0, 1.0);
}
)";

const char* const kFragmentShader = R"(
#ifdef GL_ES
precision mediump float;
#endif
varying vec2 uv;
uniform sampler2D frame;
void main()
{
    gl_FragColor = vec4(texture2D(frame, uv).rgb, 1.0);
}
)";

constexpr GLfloat kCorners[] = {-1.0f, -1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f};

#ifndef GL_BGRA
constexpr GLenum GL_BGRA = 0x80E1;
#endif
#ifndef GL_UNPACK_ROW_LENGTH
constexpr GLenum GL_UNPACK_ROW_LENGTH = 0x0CF2;
#endif

GLuint compile(QOpenGLFunctions& gl, GLenum type, const char* source)
{
    const GLuint shader = gl.glCreateShader(type);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    GLint ok = GL_FALSE;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        gl.glDeleteShader(shader);
        return 0;
    }
    return shader;
}

#ifndef GL_SCISSOR_TEST
constexpr GLenum GL_SCISSOR_TEST = 0x0C11;
#endif

// A renderer that draws with the processor: Mesa's llvmpipe, softpipe and swrast.
bool softwareRenderer(QOpenGLFunctions& gl)
{
    const auto* renderer = reinterpret_cast<const char*>(gl.glGetString(GL_RENDERER));
    if (renderer == nullptr)
        return false;
    for (const char* name : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(renderer, name) != nullptr)
            return true;
    return false;
}

bool platformHasOpenGl()
{
    if (qEnvironmentVariable("LUMAVO_PRESENT") == QStringLiteral("raster"))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform == QStringLiteral("xcb") || platform.startsWith(QStringLiteral("wayland"));
}

} // namespace

std::unique_ptr<GlStageView> GlStageView::create(QObject& inputTarget)
{
    if (!platformHasOpenGl())
        return nullptr;
    std::unique_ptr<GlStageView> view(new GlStageView(inputTarget));
    if (!view->initialise())
        return nullptr;
    return view;
}

GlStageView::GlStageView(QObject& inputTarget) : target_(inputTarget)
{
    setSurfaceType(QSurface::OpenGLSurface);
    QSurfaceFormat format;
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setSwapInterval(1);   // one swap a display frame where the driver synchronises
    format.setDepthBufferSize(0);
    format.setStencilBufferSize(0);
    format.setAlphaBufferSize(0);
    setFormat(format);
    setCursor(Qt::BlankCursor);
}

GlStageView::~GlStageView()
{
    if (context_ && context_->makeCurrent(this)) {
        QOpenGLFunctions* gl = context_->functions();
        gl->glDeleteTextures(1, &texture_);
        gl->glDeleteProgram(program_);
        context_->doneCurrent();
    }
}

bool GlStageView::initialise()
{
    QWindow::create();
    blackBackground();
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(requestedFormat());
    // The stage's pixels are uploaded as B,G,R,X rows, which OpenGL ES does not take.
    if (!context_->create() || context_->isOpenGLES() || !context_->makeCurrent(this))
        return false;
    QOpenGLFunctions* gl = context_->functions();
    const GLuint vertex = compile(*gl, GL_VERTEX_SHADER, kVertexShader);
    const GLuint fragment = compile(*gl, GL_FRAGMENT_SHADER, kFragmentShader);
    if (vertex == 0 || fragment == 0)
        return false;
    program_ = gl->glCreateProgram();
    gl->glAttachShader(program_, vertex);
    gl->glAttachShader(program_, fragment);
    gl->glBindAttribLocation(program_, 0, "corner");
    gl->glLinkProgram(program_);
    gl->glDeleteShader(vertex);
    gl->glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    gl->glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
        return false;
    gl->glGenTextures(1, &texture_);
    gl->glBindTexture(GL_TEXTURE_2D, texture_);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (softwareRenderer(*gl))
        resolveCopySubBuffer();
    return gl->glGetError() == GL_NO_ERROR;
}

void GlStageView::blackBackground()
{
    // Qt leaves an OpenGL window without a background, so whatever was on the screen shows
    // through wherever the window is mapped or uncovered until a frame is drawn there. An output
    // shows black instead.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr)
        return;
    const std::uint32_t black = 0;
    xcb_change_window_attributes(x11->connection(), static_cast<xcb_window_t>(winId()), XCB_CW_BACK_PIXEL, &black);
    xcb_flush(x11->connection());
}

void GlStageView::resolveCopySubBuffer()
{
    // A software renderer has no display to synchronise with, and its swap copies the whole
    // window through the X server on every frame: several milliseconds for a full HD stage, late
    // now and then when the processors are busy. GLX_MESA_copy_sub_buffer copies just the changed
    // rectangle of the back buffer to the window instead.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || context_->nativeInterface<QNativeInterface::QGLXContext>() == nullptr)
        return;
    using QueryExtensions = const char* (*)(Display*, int);
    const auto query = reinterpret_cast<QueryExtensions>(context_->getProcAddress("glXQueryExtensionsString"));
    const auto copy = reinterpret_cast<CopySubBuffer>(context_->getProcAddress("glXCopySubBufferMESA"));
    if (query == nullptr || copy == nullptr)
        return;
    // Qt's xcb platform runs on the display's default screen, the first on every X server we meet.
    const char* extensions = query(x11->display(), 0);
    if (extensions == nullptr || std::strstr(extensions, "GLX_MESA_copy_sub_buffer") == nullptr)
        return;
    display_ = x11->display();
    copySubBuffer_ = copy;
}

bool GlStageView::present(const Bitmap& back, const QRect& region)
{
    if (back.isEmpty() || back.bitsPerPixel() != 32 || !context_->makeCurrent(this))
        return false;
    back_ = &back;
    black_ = false;
    QOpenGLFunctions* gl = context_->functions();
    gl->glBindTexture(GL_TEXTURE_2D, texture_);
    QRect area = region & QRect(0, 0, back.width(), back.height());
    if (textureWidth_ != back.width() || textureHeight_ != back.height()) {
        gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, back.width(), back.height(), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                         nullptr);
        textureWidth_ = back.width();
        textureHeight_ = back.height();
        area = QRect(0, 0, back.width(), back.height());
    }
    if (!area.isEmpty()) {
        // Only the changed rows and columns travel; the rest of the texture keeps the last frame.
        gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, back.bytesPerLine() / 4);
        const unsigned char* first = back.scanLine(area.top()) + static_cast<std::ptrdiff_t>(area.left()) * 4;
        gl->glTexSubImage2D(GL_TEXTURE_2D, 0, area.left(), area.top(), area.width(), area.height(), GL_BGRA,
                            GL_UNSIGNED_BYTE, first);
        gl->glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
    return draw(false, area);
}

void GlStageView::presentBlack()
{
    black_ = true;
    if (isExposed() && context_->makeCurrent(this))
        draw(true);
}

bool GlStageView::draw(bool black, QRect region)
{
    QOpenGLFunctions* gl = context_->functions();
    const qreal ratio = devicePixelRatio();
    const QRect window(0, 0, qRound(width() * ratio), qRound(height() * ratio));
    gl->glViewport(0, 0, window.width(), window.height());
    // Copying a part of the back buffer needs the rest of it to hold the last frame: after black,
    // an expose or a resize the whole window is drawn once.
    if (copySubBuffer_ == nullptr || black || !backHoldsFrame_ || window.size() != drawnSize_ || region.isEmpty())
        region = window;
    drawnSize_ = window.size();
    region &= window;
    const bool part = region != window;
    const int bottomUp = window.height() - region.bottom() - 1;   // OpenGL counts rows from the bottom
    if (part) {
        gl->glEnable(GL_SCISSOR_TEST);
        gl->glScissor(region.left(), bottomUp, region.width(), region.height());
    }
    if (black || textureWidth_ == 0) {
        gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    } else {
        // The quad covers the whole window: no clear first.
        gl->glUseProgram(program_);
        gl->glActiveTexture(GL_TEXTURE0);
        gl->glBindTexture(GL_TEXTURE_2D, texture_);
        gl->glUniform1i(gl->glGetUniformLocation(program_, "frame"), 0);
        gl->glEnableVertexAttribArray(0);
        gl->glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, kCorners);
        gl->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        gl->glDisableVertexAttribArray(0);
    }
    if (part) {
        gl->glDisable(GL_SCISSOR_TEST);
        // Mesa's software swap copies the back buffer to the window and keeps it: after the first
        // whole frame the back buffer holds what the window shows, and a part of it can follow.
        // (Before any swap the copy shows nothing, so whole frames always swap.)
        copySubBuffer_(display_, winId(), region.left(), bottomUp, region.width(), region.height());
        XFlush(display_);   // a swap flushes Xlib's requests itself; the copy does not
    } else {
        context_->swapBuffers(this);
    }
    backHoldsFrame_ = !black && textureWidth_ != 0;
    const bool ok = gl->glGetError() == GL_NO_ERROR;
    shown_ = shown_ || (ok && isExposed());
    return ok;
}

void GlStageView::exposeEvent(QExposeEvent*)
{
    if (!isExposed() || !context_->makeCurrent(this))
        return;
    draw(black_ || back_ == nullptr);
}

void GlStageView::hideEvent(QHideEvent* event)
{
    shown_ = false;
    backHoldsFrame_ = false;
    QWindow::hideEvent(event);
}

bool GlStageView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // The stage is the window the operator acts on; this one only shows it.
        return QCoreApplication::sendEvent(&target_, event);
    default:
        return QWindow::event(event);
    }
}

} // namespace lumavo
