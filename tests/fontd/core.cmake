# Tests of the font model, tracer, reader and writer.
