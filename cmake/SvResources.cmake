# sv_add_resources(target [CLASSES table...] SOURCES source...): compiles the
# readable resource sources (layouts, string lists, text styles, popup lists)
# with tools/rescomp at build time and links them into target through windres.
# An error in a source fails the build with its file and line.
find_program(SV_PYTHON3 python3 REQUIRED)
set(SV_RESCOMP ${CMAKE_CURRENT_LIST_DIR}/../tools/rescomp/rescomp.py)
set(SV_LAYOUT_CLASSES ${CMAKE_CURRENT_LIST_DIR}/../tools/rescomp/layout-classes.txt)

function(sv_add_resources target)
  cmake_parse_arguments(ARG "" "" "CLASSES;SOURCES" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  set(rc ${out}/${target}.rc)
  set(tables ${SV_LAYOUT_CLASSES} ${ARG_CLASSES})
  # A table named twice (a target's list and a shared list both naming it) is read once.
  list(REMOVE_DUPLICATES tables)
  set(table_args)
  foreach(t ${tables})
    list(APPEND table_args --classes ${t})
  endforeach()
  set(sources)
  foreach(s ${ARG_SOURCES})
    get_filename_component(abs ${s} ABSOLUTE)
    list(APPEND sources ${abs})
  endforeach()
  # A source named twice (a target's list and a shared list both naming it) is compiled once.
  list(REMOVE_DUPLICATES sources)
  add_custom_command(OUTPUT ${rc}
    COMMAND ${SV_PYTHON3} ${SV_RESCOMP} ${table_args} --out ${out} --rc ${rc} ${sources}
    DEPENDS ${SV_RESCOMP} ${tables} ${sources}
    COMMENT "Compiling the resources of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# The top dock's layouts and styles, which the main window's layout includes,
# and the class tables they need beside the application's.
set(SV_DOCKTOP_RESOURCES
  ${CMAKE_SOURCE_DIR}/resources/DockTop.layout ${CMAKE_SOURCE_DIR}/resources/dockTopLeftRech.layout
  ${CMAKE_SOURCE_DIR}/resources/dockTopLeftImg.layout ${CMAKE_SOURCE_DIR}/resources/dockTopKycf.layout
  ${CMAKE_SOURCE_DIR}/resources/dockTopFlash.layout ${CMAKE_SOURCE_DIR}/resources/dockTopAtlas.layout
  ${CMAKE_SOURCE_DIR}/resources/dockTopHtml.layout ${CMAKE_SOURCE_DIR}/resources/TopDockStyles.style
  ${CMAKE_SOURCE_DIR}/resources/TopDockTitleStyle.style ${CMAKE_SOURCE_DIR}/resources/PopupSiSearch.layout
  # The home screen, which the main window's layout includes beside the top dock.
  ${CMAKE_SOURCE_DIR}/resources/Accueil.layout ${CMAKE_SOURCE_DIR}/resources/accueilFlash.layout
  ${CMAKE_SOURCE_DIR}/resources/TopAccueil.layout ${CMAKE_SOURCE_DIR}/resources/dockTopAccueil.layout
  ${CMAKE_SOURCE_DIR}/resources/EPHEMERIDE.layout ${CMAKE_SOURCE_DIR}/resources/ComplWebPane.layout
  # The room pane, which the browser document container includes.
  ${CMAKE_SOURCE_DIR}/resources/docFlash.layout
  # The web panes and their top bar.
  ${CMAKE_SOURCE_DIR}/resources/docHtml.layout ${CMAKE_SOURCE_DIR}/resources/docHtmlNet.layout
  ${CMAKE_SOURCE_DIR}/resources/dockTopHtmlNet.layout)
set(SV_DOCKTOP_CLASSES ${CMAKE_SOURCE_DIR}/app/find/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/docks/top/layout-classes.txt ${CMAKE_SOURCE_DIR}/web/browser/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/home/layout-classes.txt ${CMAKE_SOURCE_DIR}/app/online/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/flash/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/ephemeris/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/web/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/docks/online/layout-classes.txt)
# The left dock with every pane it includes, their class tables and pictures
# (the reader and the left dock's tests compile them alike).
set(SV_DOCKLEFT_RESOURCES
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFT.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTEPHEMERIDE.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTRECHSI.layout ${CMAKE_SOURCE_DIR}/resources/LRListLeft.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTRECHAV.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTRECHAZ.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTATLAS.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTATLASALLMAP.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTATLASCURRENTMAP.layout ${CMAKE_SOURCE_DIR}/resources/ATLASPREC.layout
  ${CMAKE_SOURCE_DIR}/resources/LRListEditLeft.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTTHEMES.layout ${CMAKE_SOURCE_DIR}/resources/ListViewLeft.layout
  ${CMAKE_SOURCE_DIR}/resources/LRNbRes.layout
  ${CMAKE_SOURCE_DIR}/resources/LROptions.layout ${CMAKE_SOURCE_DIR}/resources/LROptionsWeb.layout
  ${CMAKE_SOURCE_DIR}/resources/LROptionsSalle.layout
  ${CMAKE_SOURCE_DIR}/resources/dockleftChrono.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTCHRONOTHEME.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTCHRONOMOTSCLE.layout ${CMAKE_SOURCE_DIR}/resources/LRChronoList.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLEA_DVD.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLEA_NET.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLEA_DVDNET.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLEB_DVD.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLEB_DVDNET.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLEC.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLED_DVD.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLED_DVDNET.layout
  ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLEE.layout ${CMAKE_SOURCE_DIR}/resources/DOCKLEFTSALLEGLI.layout
  ${CMAKE_SOURCE_DIR}/resources/LRFilterNames.strings ${CMAKE_SOURCE_DIR}/resources/LRSortNames.strings
  ${CMAKE_SOURCE_DIR}/resources/LRDisplayNames.strings)
set(SV_DOCKLEFT_CLASSES ${CMAKE_SOURCE_DIR}/web/browser/layout-classes.txt ${CMAKE_SOURCE_DIR}/app/lists/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/left/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/advanced/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/ephemeris/list-layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/atlas/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/az/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/content/chrono/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/themes/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/rooms/layout-classes.txt)
set(SV_DOCKLEFT_BITMAPS ${CMAKE_SOURCE_DIR}/resources/LeftDockBitmaps.rc ${CMAKE_SOURCE_DIR}/resources/AtlasBitmaps.rc
  ${CMAKE_SOURCE_DIR}/resources/ChronoBitmaps.rc
  ${CMAKE_SOURCE_DIR}/resources/RoomBitmaps.rc)
# The main window's layout with the layouts and string lists its panes load
# (the reader, its tests and benchmarks compile them alike).
set(SV_FRAME_RESOURCES ${CMAKE_SOURCE_DIR}/resources/Frame1Fixed.layout ${CMAKE_SOURCE_DIR}/resources/ReadingScreen.layout
  # The help box that the reader makes at its start, for the tooltips.
  ${CMAKE_SOURCE_DIR}/resources/HelpBox.style
  ${CMAKE_SOURCE_DIR}/resources/DockLCR.layout ${CMAKE_SOURCE_DIR}/resources/DocKycf.layout
  ${CMAKE_SOURCE_DIR}/resources/DocFrise.layout
  ${CMAKE_SOURCE_DIR}/resources/DocMozilla.layout ${CMAKE_SOURCE_DIR}/resources/DockRight.layout
  ${CMAKE_SOURCE_DIR}/resources/DockRightArt.layout ${CMAKE_SOURCE_DIR}/resources/LRRight.layout
  ${CMAKE_SOURCE_DIR}/resources/VScroll.layout ${SV_DOCKTOP_RESOURCES}
  ${SV_DOCKLEFT_RESOURCES}
  # The chronology screen: its centre pane and top dock (its left dock is the left dock's).
  ${CMAKE_SOURCE_DIR}/resources/CHRONO.layout ${CMAKE_SOURCE_DIR}/resources/ScrollingPeriodes.layout
  ${CMAKE_SOURCE_DIR}/resources/dockTopChrono.layout
  # The media window, which the reader opens over the main window.
  ${CMAKE_SOURCE_DIR}/resources/Media.layout ${CMAKE_SOURCE_DIR}/resources/MediaPane.layout
  ${CMAKE_SOURCE_DIR}/resources/MediaImage.layout ${CMAKE_SOURCE_DIR}/resources/MediaTooltips.strings
  ${CMAKE_SOURCE_DIR}/resources/MediaDockRight.layout ${CMAKE_SOURCE_DIR}/resources/MediaDockRightArt.layout
  ${CMAKE_SOURCE_DIR}/resources/MediaVideo.layout ${CMAKE_SOURCE_DIR}/resources/MediaFlash.layout
  ${CMAKE_SOURCE_DIR}/resources/MEDIADCR.layout)
# The class tables and pictures the reading screen's panes need beside the application's.
set(SV_FRAME_CLASSES ${SV_DOCKTOP_CLASSES} ${CMAKE_SOURCE_DIR}/app/lists/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/ephemeris/list-layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/article/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/docks/right/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/left/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/advanced/layout-classes.txt ${CMAKE_SOURCE_DIR}/web/movie/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/content/media/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/atlas/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/az/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/rooms/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/chrono/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/themes/layout-classes.txt)
set(SV_FRAME_BITMAPS ${CMAKE_SOURCE_DIR}/resources/FrameBitmaps.rc ${CMAKE_SOURCE_DIR}/resources/TopDockBitmaps.rc
  ${CMAKE_SOURCE_DIR}/resources/RightDockBitmaps.rc ${CMAKE_SOURCE_DIR}/resources/LeftDockBitmaps.rc
  ${CMAKE_SOURCE_DIR}/resources/AtlasBitmaps.rc
  ${CMAKE_SOURCE_DIR}/resources/RoomBitmaps.rc
  ${CMAKE_SOURCE_DIR}/resources/ChronoBitmaps.rc)

# The layout classes of the application, handed to the resource compiler with
# the framework's; every pane adds its class to the file. Set here, before any
# folder is read, so that the tests (read before app/) see it too.
set(SV_APP_LAYOUT_CLASSES ${CMAKE_SOURCE_DIR}/app/pane/layout-classes.txt ${CMAKE_SOURCE_DIR}/app/frame/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/app/lists/layout-classes.txt ${CMAKE_SOURCE_DIR}/app/popup/layout-classes.txt ${CMAKE_SOURCE_DIR}/app/find/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/phonetic/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/ephemeris/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/ephemeris/list-layout-classes.txt
  ${CMAKE_SOURCE_DIR}/reader/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/docks/print/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/docks/workspacewin/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/docks/top/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/article/layout-classes.txt ${CMAKE_SOURCE_DIR}/web/browser/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/app/online/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/docks/right/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/app/views/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/left/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/advanced/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/docks/netinst/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/docks/online/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/home/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/content/flash/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/web/movie/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/content/media/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/atlas/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/az/layout-classes.txt ${CMAKE_SOURCE_DIR}/panes/search/dico/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/chrono/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/content/web/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/themes/layout-classes.txt
  ${CMAKE_SOURCE_DIR}/panes/search/rooms/layout-classes.txt)
