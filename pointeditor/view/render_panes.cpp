#include "pointeditor/view/render_panes.h"

#include <cmath>

#include "pointeditor/data/pane_layout.h"
#include "pointeditor/view/block_faces.h"
#include "pointeditor/view/device/device.h"
#include "pointeditor/view/ortho_panes.h"
#include "pointeditor/view/pane_redraw.h"
#include "pointeditor/view/point_markers.h"

namespace tavo {

namespace {

constexpr uint32_t SceneBackground = 0xFF000000;

// Whether `pane` must be drawn in this frame; every pane is without retained panes.
bool needsDrawing(const EditorState& state, const FrameTargets& targets, const LinkLines& links,
                  int pane) {
    return targets.retainedPanes == nullptr ||
           targets.retainedPanes->needsDrawing(pane, state, links);
}

void beginPane(Device& device) {
    device.beginScene();
    device.clear(ClearTarget | ClearZBuffer, SceneBackground, 1.0f);
}

void endPane(const FrameTargets& targets, int pane) {
    Device& device = targets.device;
    device.endScene();
    const PaneOrigin origin = paneOrigin(pane);
    if (device.present(origin.left, origin.top) == PresentResult::DeviceLost) {
        // The next pane draws with whatever states the reset left; the next frame sets all.
        device.reset();
        if (targets.retainedPanes != nullptr) {
            targets.retainedPanes->deviceReset();
        }
    } else if (targets.retainedPanes != nullptr) {
        targets.retainedPanes->presented(pane);
    }
}

void drawOrthoScene(const EditorState& state, const FrameTargets& targets, const LinkLines& links,
                    int32_t toggle, int pane) {
    if (!needsDrawing(state, targets, links, pane)) {
        return;
    }
    Device& device = targets.device;
    if (toggle != 1) {
        beginPane(device);
    } else {
        // The cleared grid is the same in every 2D pane and frame: drawn once, then copied.
        device.beginScene();
        if (!device.restoreBackground()) {
            device.clear(ClearTarget | ClearZBuffer, SceneBackground, 1.0f);
            drawPaneGrid(device);
            device.keepBackground();
        }
        drawOrthoPane(state, device, links, pane);
    }
    endPane(targets, pane);
}

} // namespace

void setViewTransform(const EditorState& state, Device& device) {
    device.setTransform(TransformType::View, cameraViewMatrix(state));
}

void renderPanes(const EditorState& state, const FrameTargets& targets) {
    Device& device = targets.device;
    // Built once for the frame: the 2D panes draw them and their keys hold them.
    const LinkLines links = buildLinkLines(state);
    device.setRenderState(RenderState::ZEnable, 1);
    device.setRenderState(RenderState::CullMode, CullCounterClockwise);
    device.setTextureStageState(TextureStageState::MipFilter, FilterNone);
    device.setTextureStageState(TextureStageState::MagFilter, FilterNone);
    device.setTextureStageState(TextureStageState::MinFilter, FilterNone);
    device.setTextureStageState(TextureStageState::ColorOp, OpModulate);
    device.setTextureStageState(TextureStageState::ColorArg1, ArgTexture);
    device.setTextureStageState(TextureStageState::ColorArg2, ArgDiffuse);
    device.setTextureStageState(TextureStageState::AlphaOp, OpModulate);
    device.setTextureStageState(TextureStageState::AlphaArg1, ArgTexture);
    device.setTextureStageState(TextureStageState::AlphaArg2, ArgDiffuse);
    device.setRenderState(RenderState::Lighting, 0);
    device.setRenderState(RenderState::SrcBlend, BlendSrcAlpha);
    device.setRenderState(RenderState::DestBlend, BlendInvSrcAlpha);
    device.setRenderState(RenderState::AlphaBlendEnable, 1);
    device.setTransform(TransformType::Projection, perspectiveProjection());
    setViewTransform(state, device);
    device.setTransform(TransformType::World,
                        D3DXMatrixScaling(WorldScale, WorldScale, WorldScale));
    device.setVertexFormat(VertexFormat::Block);

    if (needsDrawing(state, targets, links, PerspectivePane)) {
        beginPane(device);
        drawBlockFaces(state, device);
        drawPointMarkers(state, device);
        endPane(targets, PerspectivePane);
    }

    device.setRenderState(RenderState::CullMode, CullNone);
    device.setVertexFormat(VertexFormat::Pane);

    drawOrthoScene(state, targets, links, state.showTopView, TopPane);
    drawOrthoScene(state, targets, links, state.showFrontView, FrontPane);
    drawOrthoScene(state, targets, links, state.showSideView, SidePane);
}

} // namespace tavo
