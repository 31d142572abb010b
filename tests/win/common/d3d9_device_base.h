// Every IDirect3DDevice9 method the tool never calls, refusing; a fake
// device derives from this and overrides what it needs.
#pragma once

#include <windows.h>
#include <d3d9.h>

class Direct3DDevice9Base : public IDirect3DDevice9 {
public:
    STDMETHOD(TestCooperativeLevel)() override { return E_NOTIMPL; }
    STDMETHOD_(UINT, GetAvailableTextureMem)() override { return 0; }
    STDMETHOD(EvictManagedResources)() override { return E_NOTIMPL; }
    STDMETHOD(GetDirect3D)(IDirect3D9** ppD3D9) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceCaps)(D3DCAPS9* pCaps) override { return E_NOTIMPL; }
    STDMETHOD(GetDisplayMode)(UINT iSwapChain, D3DDISPLAYMODE* pMode) override { return E_NOTIMPL; }
    STDMETHOD(GetCreationParameters)(D3DDEVICE_CREATION_PARAMETERS *pParameters) override { return E_NOTIMPL; }
    STDMETHOD(SetCursorProperties)(UINT XHotSpot, UINT YHotSpot, IDirect3DSurface9* pCursorBitmap) override { return E_NOTIMPL; }
    STDMETHOD_(void, SetCursorPosition)(int X,int Y, DWORD Flags) override {}
    STDMETHOD_(WINBOOL, ShowCursor)(WINBOOL bShow) override { return 0; }
    STDMETHOD(CreateAdditionalSwapChain)(D3DPRESENT_PARAMETERS* pPresentationParameters, IDirect3DSwapChain9** pSwapChain) override { return E_NOTIMPL; }
    STDMETHOD(GetSwapChain)(UINT iSwapChain, IDirect3DSwapChain9** pSwapChain) override { return E_NOTIMPL; }
    STDMETHOD_(UINT, GetNumberOfSwapChains)() override { return 0; }
    STDMETHOD(Reset)(D3DPRESENT_PARAMETERS* pPresentationParameters) override { return E_NOTIMPL; }
    STDMETHOD(Present)(const RECT *src_rect, const RECT *dst_rect, HWND dst_window_override, const RGNDATA *dirty_region) override { return E_NOTIMPL; }
    STDMETHOD(GetBackBuffer)(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type, IDirect3DSurface9** ppBackBuffer) override { return E_NOTIMPL; }
    STDMETHOD(GetRasterStatus)(UINT iSwapChain, D3DRASTER_STATUS* pRasterStatus) override { return E_NOTIMPL; }
    STDMETHOD(SetDialogBoxMode)(WINBOOL bEnableDialogs) override { return E_NOTIMPL; }
    STDMETHOD_(void, SetGammaRamp)(UINT swapchain_idx, DWORD flags, const D3DGAMMARAMP *ramp) override {}
    STDMETHOD_(void, GetGammaRamp)(UINT iSwapChain, D3DGAMMARAMP* pRamp) override {}
    STDMETHOD(CreateTexture)(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) override { return E_NOTIMPL; }
    STDMETHOD(CreateVolumeTexture)(UINT Width, UINT Height, UINT Depth, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DVolumeTexture9** ppVolumeTexture, HANDLE* pSharedHandle) override { return E_NOTIMPL; }
    STDMETHOD(CreateCubeTexture)(UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DCubeTexture9** ppCubeTexture, HANDLE* pSharedHandle) override { return E_NOTIMPL; }
    STDMETHOD(CreateVertexBuffer)(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool, IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle) override { return E_NOTIMPL; }
    STDMETHOD(CreateIndexBuffer)(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle) override { return E_NOTIMPL; }
    STDMETHOD(CreateRenderTarget)(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, WINBOOL Lockable, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) override { return E_NOTIMPL; }
    STDMETHOD(CreateDepthStencilSurface)(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, WINBOOL Discard, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) override { return E_NOTIMPL; }
    STDMETHOD(UpdateSurface)(IDirect3DSurface9 *src_surface, const RECT *src_rect, IDirect3DSurface9 *dst_surface, const POINT *dst_point) override { return E_NOTIMPL; }
    STDMETHOD(UpdateTexture)(IDirect3DBaseTexture9* pSourceTexture, IDirect3DBaseTexture9* pDestinationTexture) override { return E_NOTIMPL; }
    STDMETHOD(GetRenderTargetData)(IDirect3DSurface9* pRenderTarget, IDirect3DSurface9* pDestSurface) override { return E_NOTIMPL; }
    STDMETHOD(GetFrontBufferData)(UINT iSwapChain, IDirect3DSurface9* pDestSurface) override { return E_NOTIMPL; }
    STDMETHOD(StretchRect)(IDirect3DSurface9 *src_surface, const RECT *src_rect, IDirect3DSurface9 *dst_surface, const RECT *dst_rect, D3DTEXTUREFILTERTYPE filter) override { return E_NOTIMPL; }
    STDMETHOD(ColorFill)(IDirect3DSurface9 *surface, const RECT *rect, D3DCOLOR color) override { return E_NOTIMPL; }
    STDMETHOD(CreateOffscreenPlainSurface)(UINT Width, UINT Height, D3DFORMAT Format, D3DPOOL Pool, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) override { return E_NOTIMPL; }
    STDMETHOD(SetRenderTarget)(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget) override { return E_NOTIMPL; }
    STDMETHOD(GetRenderTarget)(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) override { return E_NOTIMPL; }
    STDMETHOD(SetDepthStencilSurface)(IDirect3DSurface9* pNewZStencil) override { return E_NOTIMPL; }
    STDMETHOD(GetDepthStencilSurface)(IDirect3DSurface9** ppZStencilSurface) override { return E_NOTIMPL; }
    STDMETHOD(BeginScene)() override { return E_NOTIMPL; }
    STDMETHOD(EndScene)() override { return E_NOTIMPL; }
    STDMETHOD(Clear)(DWORD rect_count, const D3DRECT *rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override { return E_NOTIMPL; }
    STDMETHOD(SetTransform)(D3DTRANSFORMSTATETYPE state, const D3DMATRIX *matrix) override { return E_NOTIMPL; }
    STDMETHOD(GetTransform)(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override { return E_NOTIMPL; }
    STDMETHOD(MultiplyTransform)(D3DTRANSFORMSTATETYPE state, const D3DMATRIX *matrix) override { return E_NOTIMPL; }
    STDMETHOD(SetViewport)(const D3DVIEWPORT9 *viewport) override { return E_NOTIMPL; }
    STDMETHOD(GetViewport)(D3DVIEWPORT9* pViewport) override { return E_NOTIMPL; }
    STDMETHOD(SetMaterial)(const D3DMATERIAL9 *material) override { return E_NOTIMPL; }
    STDMETHOD(GetMaterial)(D3DMATERIAL9* pMaterial) override { return E_NOTIMPL; }
    STDMETHOD(SetLight)(DWORD index, const D3DLIGHT9 *light) override { return E_NOTIMPL; }
    STDMETHOD(GetLight)(DWORD Index, D3DLIGHT9*) override { return E_NOTIMPL; }
    STDMETHOD(LightEnable)(DWORD Index, WINBOOL Enable) override { return E_NOTIMPL; }
    STDMETHOD(GetLightEnable)(DWORD Index, WINBOOL* pEnable) override { return E_NOTIMPL; }
    STDMETHOD(SetClipPlane)(DWORD index, const float *plane) override { return E_NOTIMPL; }
    STDMETHOD(GetClipPlane)(DWORD Index, float* pPlane) override { return E_NOTIMPL; }
    STDMETHOD(SetRenderState)(D3DRENDERSTATETYPE State, DWORD Value) override { return E_NOTIMPL; }
    STDMETHOD(GetRenderState)(D3DRENDERSTATETYPE State, DWORD* pValue) override { return E_NOTIMPL; }
    STDMETHOD(CreateStateBlock)(D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB) override { return E_NOTIMPL; }
    STDMETHOD(BeginStateBlock)() override { return E_NOTIMPL; }
    STDMETHOD(EndStateBlock)(IDirect3DStateBlock9** ppSB) override { return E_NOTIMPL; }
    STDMETHOD(SetClipStatus)(const D3DCLIPSTATUS9 *clip_status) override { return E_NOTIMPL; }
    STDMETHOD(GetClipStatus)(D3DCLIPSTATUS9* pClipStatus) override { return E_NOTIMPL; }
    STDMETHOD(GetTexture)(DWORD Stage, IDirect3DBaseTexture9** ppTexture) override { return E_NOTIMPL; }
    STDMETHOD(SetTexture)(DWORD Stage, IDirect3DBaseTexture9* pTexture) override { return E_NOTIMPL; }
    STDMETHOD(GetTextureStageState)(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) override { return E_NOTIMPL; }
    STDMETHOD(SetTextureStageState)(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override { return E_NOTIMPL; }
    STDMETHOD(GetSamplerState)(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) override { return E_NOTIMPL; }
    STDMETHOD(SetSamplerState)(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) override { return E_NOTIMPL; }
    STDMETHOD(ValidateDevice)(DWORD* pNumPasses) override { return E_NOTIMPL; }
    STDMETHOD(SetPaletteEntries)(UINT palette_idx, const PALETTEENTRY *entries) override { return E_NOTIMPL; }
    STDMETHOD(GetPaletteEntries)(UINT PaletteNumber,PALETTEENTRY* pEntries) override { return E_NOTIMPL; }
    STDMETHOD(SetCurrentTexturePalette)(UINT PaletteNumber) override { return E_NOTIMPL; }
    STDMETHOD(GetCurrentTexturePalette)(UINT *PaletteNumber) override { return E_NOTIMPL; }
    STDMETHOD(SetScissorRect)(const RECT *rect) override { return E_NOTIMPL; }
    STDMETHOD(GetScissorRect)(RECT* pRect) override { return E_NOTIMPL; }
    STDMETHOD(SetSoftwareVertexProcessing)(WINBOOL bSoftware) override { return E_NOTIMPL; }
    STDMETHOD_(WINBOOL, GetSoftwareVertexProcessing)() override { return 0; }
    STDMETHOD(SetNPatchMode)(float nSegments) override { return E_NOTIMPL; }
    STDMETHOD_(float, GetNPatchMode)() override { return 0; }
    STDMETHOD(DrawPrimitive)(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) override { return E_NOTIMPL; }
    STDMETHOD(DrawIndexedPrimitive)(D3DPRIMITIVETYPE, INT BaseVertexIndex, UINT MinVertexIndex, UINT NumVertices, UINT startIndex, UINT primCount) override { return E_NOTIMPL; }
    STDMETHOD(DrawPrimitiveUP)(D3DPRIMITIVETYPE primitive_type, UINT primitive_count, const void *data, UINT stride) override { return E_NOTIMPL; }
    STDMETHOD(DrawIndexedPrimitiveUP)(D3DPRIMITIVETYPE primitive_type, UINT min_vertex_idx, UINT vertex_count, UINT primitive_count, const void *index_data, D3DFORMAT index_format, const void *data, UINT stride) override { return E_NOTIMPL; }
    STDMETHOD(ProcessVertices)(UINT SrcStartIndex, UINT DestIndex, UINT VertexCount, IDirect3DVertexBuffer9* pDestBuffer, IDirect3DVertexDeclaration9* pVertexDecl, DWORD Flags) override { return E_NOTIMPL; }
    STDMETHOD(CreateVertexDeclaration)(const D3DVERTEXELEMENT9 *elements, IDirect3DVertexDeclaration9 **declaration) override { return E_NOTIMPL; }
    STDMETHOD(SetVertexDeclaration)(IDirect3DVertexDeclaration9* pDecl) override { return E_NOTIMPL; }
    STDMETHOD(GetVertexDeclaration)(IDirect3DVertexDeclaration9** ppDecl) override { return E_NOTIMPL; }
    STDMETHOD(SetFVF)(DWORD FVF) override { return E_NOTIMPL; }
    STDMETHOD(GetFVF)(DWORD* pFVF) override { return E_NOTIMPL; }
    STDMETHOD(CreateVertexShader)(const DWORD *byte_code, IDirect3DVertexShader9 **shader) override { return E_NOTIMPL; }
    STDMETHOD(SetVertexShader)(IDirect3DVertexShader9* pShader) override { return E_NOTIMPL; }
    STDMETHOD(GetVertexShader)(IDirect3DVertexShader9** ppShader) override { return E_NOTIMPL; }
    STDMETHOD(SetVertexShaderConstantF)(UINT reg_idx, const float *data, UINT count) override { return E_NOTIMPL; }
    STDMETHOD(GetVertexShaderConstantF)(UINT StartRegister, float* pConstantData, UINT Vector4fCount) override { return E_NOTIMPL; }
    STDMETHOD(SetVertexShaderConstantI)(UINT reg_idx, const int *data, UINT count) override { return E_NOTIMPL; }
    STDMETHOD(GetVertexShaderConstantI)(UINT StartRegister, int* pConstantData, UINT Vector4iCount) override { return E_NOTIMPL; }
    STDMETHOD(SetVertexShaderConstantB)(UINT reg_idx, const WINBOOL *data, UINT count) override { return E_NOTIMPL; }
    STDMETHOD(GetVertexShaderConstantB)(UINT StartRegister, WINBOOL* pConstantData, UINT BoolCount) override { return E_NOTIMPL; }
    STDMETHOD(SetStreamSource)(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes, UINT Stride) override { return E_NOTIMPL; }
    STDMETHOD(GetStreamSource)(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData, UINT* OffsetInBytes, UINT* pStride) override { return E_NOTIMPL; }
    STDMETHOD(SetStreamSourceFreq)(UINT StreamNumber, UINT Divider) override { return E_NOTIMPL; }
    STDMETHOD(GetStreamSourceFreq)(UINT StreamNumber, UINT* Divider) override { return E_NOTIMPL; }
    STDMETHOD(SetIndices)(IDirect3DIndexBuffer9* pIndexData) override { return E_NOTIMPL; }
    STDMETHOD(GetIndices)(IDirect3DIndexBuffer9** ppIndexData) override { return E_NOTIMPL; }
    STDMETHOD(CreatePixelShader)(const DWORD *byte_code, IDirect3DPixelShader9 **shader) override { return E_NOTIMPL; }
    STDMETHOD(SetPixelShader)(IDirect3DPixelShader9* pShader) override { return E_NOTIMPL; }
    STDMETHOD(GetPixelShader)(IDirect3DPixelShader9** ppShader) override { return E_NOTIMPL; }
    STDMETHOD(SetPixelShaderConstantF)(UINT reg_idx, const float *data, UINT count) override { return E_NOTIMPL; }
    STDMETHOD(GetPixelShaderConstantF)(UINT StartRegister, float* pConstantData, UINT Vector4fCount) override { return E_NOTIMPL; }
    STDMETHOD(SetPixelShaderConstantI)(UINT reg_idx, const int *data, UINT count) override { return E_NOTIMPL; }
    STDMETHOD(GetPixelShaderConstantI)(UINT StartRegister, int* pConstantData, UINT Vector4iCount) override { return E_NOTIMPL; }
    STDMETHOD(SetPixelShaderConstantB)(UINT reg_idx, const WINBOOL *data, UINT count) override { return E_NOTIMPL; }
    STDMETHOD(GetPixelShaderConstantB)(UINT StartRegister, WINBOOL* pConstantData, UINT BoolCount) override { return E_NOTIMPL; }
    STDMETHOD(DrawRectPatch)(UINT handle, const float *segment_count, const D3DRECTPATCH_INFO *patch_info) override { return E_NOTIMPL; }
    STDMETHOD(DrawTriPatch)(UINT handle, const float *segment_count, const D3DTRIPATCH_INFO *patch_info) override { return E_NOTIMPL; }
    STDMETHOD(DeletePatch)(UINT Handle) override { return E_NOTIMPL; }
    STDMETHOD(CreateQuery)(D3DQUERYTYPE Type, IDirect3DQuery9** ppQuery) override { return E_NOTIMPL; }
};
