target_sources(pointillo_core PRIVATE
)
