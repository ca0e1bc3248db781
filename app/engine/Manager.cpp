// Engine facade, being written.
