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

# sv_paths(var dir item...): var becomes the items in order, each relative one
# taken below dir (other lists of paths come through as they are).
function(sv_paths var dir)
  set(paths)
  foreach(item ${ARGN})
    if(IS_ABSOLUTE ${item})
      list(APPEND paths ${item})
    else()
      list(APPEND paths ${dir}/${item})
    endif()
  endforeach()
  set(${var} ${paths} PARENT_SCOPE)
endfunction()

# The top dock's layouts and styles, which the main window's layout includes,
# and the class tables they need beside the application's.
sv_paths(SV_DOCKTOP_RESOURCES ${CMAKE_SOURCE_DIR}/resources DockTop.layout dockTopLeftRech.layout
  dockTopLeftImg.layout dockTopKycf.layout dockTopFlash.layout dockTopAtlas.layout dockTopHtml.layout
  TopDockStyles.style TopDockTitleStyle.style PopupSiSearch.layout
  # The home screen, which the main window's layout includes beside the top dock.
  Accueil.layout accueilFlash.layout TopAccueil.layout dockTopAccueil.layout EPHEMERIDE.layout
  ComplWebPane.layout
  # The room pane, which the browser document container includes.
  docFlash.layout
  # The web panes and their top bar.
  docHtml.layout docHtmlNet.layout dockTopHtmlNet.layout)
sv_paths(SV_DOCKTOP_CLASSES ${CMAKE_SOURCE_DIR} app/find/layout-classes.txt panes/docks/top/layout-classes.txt
  web/browser/layout-classes.txt panes/content/home/layout-classes.txt app/online/layout-classes.txt
  panes/content/flash/layout-classes.txt panes/search/ephemeris/layout-classes.txt
  panes/content/web/layout-classes.txt panes/docks/online/layout-classes.txt)
# The left dock with every pane it includes, their class tables and pictures
# (the reader and the left dock's tests compile them alike).
sv_paths(SV_DOCKLEFT_RESOURCES ${CMAKE_SOURCE_DIR}/resources DOCKLEFT.layout DOCKLEFTEPHEMERIDE.layout
  DOCKLEFTRECHSI.layout LRListLeft.layout DOCKLEFTRECHAV.layout DOCKLEFTRECHAZ.layout DOCKLEFTATLAS.layout
  DOCKLEFTATLASALLMAP.layout DOCKLEFTATLASCURRENTMAP.layout ATLASPREC.layout LRListEditLeft.layout
  DOCKLEFTTHEMES.layout ListViewLeft.layout LRNbRes.layout LROptions.layout LROptionsWeb.layout
  LROptionsSalle.layout dockleftChrono.layout DOCKLEFTCHRONOTHEME.layout DOCKLEFTCHRONOMOTSCLE.layout
  LRChronoList.layout DOCKLEFTSALLEA_DVD.layout DOCKLEFTSALLEA_NET.layout DOCKLEFTSALLEA_DVDNET.layout
  DOCKLEFTSALLEB_DVD.layout DOCKLEFTSALLEB_DVDNET.layout DOCKLEFTSALLEC.layout DOCKLEFTSALLED_DVD.layout
  DOCKLEFTSALLED_DVDNET.layout DOCKLEFTSALLEE.layout DOCKLEFTSALLEGLI.layout LRFilterNames.strings
  LRSortNames.strings LRDisplayNames.strings)
sv_paths(SV_DOCKLEFT_CLASSES ${CMAKE_SOURCE_DIR} web/browser/layout-classes.txt app/lists/layout-classes.txt
  panes/search/left/layout-classes.txt panes/search/advanced/layout-classes.txt
  panes/search/ephemeris/list-layout-classes.txt panes/search/atlas/layout-classes.txt
  panes/search/az/layout-classes.txt panes/content/chrono/layout-classes.txt
  panes/search/themes/layout-classes.txt panes/search/rooms/layout-classes.txt)
sv_paths(SV_DOCKLEFT_BITMAPS ${CMAKE_SOURCE_DIR}/resources LeftDockBitmaps.rc AtlasBitmaps.rc ChronoBitmaps.rc
  RoomBitmaps.rc)
# The main window's layout with the layouts and string lists its panes load
# (the reader, its tests and benchmarks compile them alike).
sv_paths(SV_FRAME_RESOURCES ${CMAKE_SOURCE_DIR}/resources Frame1Fixed.layout ReadingScreen.layout
  # The help box that the reader makes at its start, for the tooltips.
  HelpBox.style DockLCR.layout DocKycf.layout DocFrise.layout DocMozilla.layout DockRight.layout
  DockRightArt.layout LRRight.layout VScroll.layout ${SV_DOCKTOP_RESOURCES} ${SV_DOCKLEFT_RESOURCES}
  # The chronology screen: its centre pane and top dock (its left dock is the left dock's).
  CHRONO.layout ScrollingPeriodes.layout dockTopChrono.layout
  # The media window, which the reader opens over the main window.
  Media.layout MediaPane.layout MediaImage.layout MediaTooltips.strings MediaDockRight.layout
  MediaDockRightArt.layout MediaVideo.layout MediaFlash.layout MEDIADCR.layout)
# The class tables and pictures the reading screen's panes need beside the application's.
sv_paths(SV_FRAME_CLASSES ${CMAKE_SOURCE_DIR} ${SV_DOCKTOP_CLASSES} app/lists/layout-classes.txt
  panes/search/ephemeris/list-layout-classes.txt panes/content/article/layout-classes.txt
  panes/docks/right/layout-classes.txt panes/search/left/layout-classes.txt
  panes/search/advanced/layout-classes.txt web/movie/layout-classes.txt panes/content/media/layout-classes.txt
  panes/search/atlas/layout-classes.txt panes/search/az/layout-classes.txt
  panes/search/rooms/layout-classes.txt panes/content/chrono/layout-classes.txt
  panes/search/themes/layout-classes.txt)
sv_paths(SV_FRAME_BITMAPS ${CMAKE_SOURCE_DIR}/resources FrameBitmaps.rc TopDockBitmaps.rc RightDockBitmaps.rc
  LeftDockBitmaps.rc AtlasBitmaps.rc RoomBitmaps.rc ChronoBitmaps.rc)

# The layout classes of the application, handed to the resource compiler with
# the framework's; every pane adds its class to the file. Set here, before any
# folder is read, so that the tests (read before app/) see it too.
sv_paths(SV_APP_LAYOUT_CLASSES ${CMAKE_SOURCE_DIR} app/pane/layout-classes.txt app/frame/layout-classes.txt
  app/lists/layout-classes.txt app/popup/layout-classes.txt app/find/layout-classes.txt
  panes/search/phonetic/layout-classes.txt panes/search/ephemeris/layout-classes.txt
  panes/search/ephemeris/list-layout-classes.txt reader/layout-classes.txt
  panes/docks/print/layout-classes.txt panes/docks/workspacewin/layout-classes.txt
  panes/docks/top/layout-classes.txt panes/content/article/layout-classes.txt web/browser/layout-classes.txt
  app/online/layout-classes.txt panes/docks/right/layout-classes.txt app/views/layout-classes.txt
  panes/search/left/layout-classes.txt panes/search/advanced/layout-classes.txt
  panes/docks/netinst/layout-classes.txt panes/docks/online/layout-classes.txt
  panes/content/home/layout-classes.txt panes/content/flash/layout-classes.txt web/movie/layout-classes.txt
  panes/content/media/layout-classes.txt panes/search/atlas/layout-classes.txt
  panes/search/az/layout-classes.txt panes/search/dico/layout-classes.txt
  panes/content/chrono/layout-classes.txt panes/content/web/layout-classes.txt
  panes/search/themes/layout-classes.txt panes/search/rooms/layout-classes.txt)
