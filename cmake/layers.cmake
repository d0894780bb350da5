# The folders of the program from the bottom up, each with the folders it may use. Arrows point
# down only: calc, store and tracker never reach a window, and no folder reaches the entry points.
set(VANTREL_LAYERS text calc store tracker ui converter offers history app)
set(VANTREL_USES_text "")
set(VANTREL_USES_calc text)
set(VANTREL_USES_store text)
set(VANTREL_USES_tracker text calc store)
set(VANTREL_USES_ui "")
set(VANTREL_USES_converter text calc ui)
set(VANTREL_USES_offers text calc store ui)
set(VANTREL_USES_history text calc store tracker ui)
set(VANTREL_USES_app text calc store tracker ui converter offers history)
# The folders whose code runs without windows: they link QtCore and nothing of Qt above it.
set(VANTREL_CORE_ONLY text calc store tracker)
